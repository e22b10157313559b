// Defines the type library's GUIDs (LIBID, CLSID, IIDs) that Tolvane.h declares.
#include <initguid.h>

#include "Tolvane.h"
