#pragma once
// The process runner's component identity, the same on every platform: the
// Linux plugin carries it in its metadata, the Windows COM server registers
// it (its type library, compiled from com/Tolvane.idl, holds the same values).

namespace quorvel::tolvane {

inline constexpr char kTypeLibraryName[] = "Tolvane";
inline constexpr char kLibId[] = "{31840D7C-681B-4879-B5E9-542F1A6F0894}";
inline constexpr char kTypeLibraryVersion[] = "1.0";
inline constexpr char kClassName[] = "clsExecute";
inline constexpr char kClsId[] = "{D99E4E35-E44F-429F-B384-6B51A17D0F0D}";
inline constexpr char kProgId[] = "Tolvane.clsExecute";
inline constexpr char kThreadingModel[] = "Apartment";
inline constexpr char kClsExecuteIid[] = "{6934DABC-1940-4002-8C0C-9267D304485A}";
inline constexpr char kClsExecuteControlIid[] = "{71EDFD75-A01E-4E1E-8757-6CF4D388F8C4}";
inline constexpr char kClassFactoryIid[] = "{05F7A3DF-820C-455E-92A2-4CAE5FA51CB5}";

}  // namespace quorvel::tolvane
