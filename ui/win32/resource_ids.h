#pragma once
// Identifiers of the program's resources, shared by the resource script and
// the code.

#define IDI_QUORVEL 1
#define IDC_HAND_POINTER 2
