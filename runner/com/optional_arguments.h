#pragma once
// IDispatch::Invoke through the type information, with the optional
// arguments a late-bound caller left out filled in first.

#include <windows.h>
// After windows.h, which it builds on:
#include <oaidl.h>

namespace quorvel::tolvane {

// Calls `info->Invoke` on `object`. When the caller passes fewer positional
// arguments than the member declares and every missing one is optional, each
// missing one is passed as its default value from the type library (or an
// empty value of its type when it has none), by reference when the member
// takes it by reference: Wine's ITypeInfo::Invoke passes such a default by
// value where a pointer is expected.
HRESULT InvokeFillingOptionalArguments(void* object, ITypeInfo* info, DISPID id, WORD flags,
                                       DISPPARAMS* parameters, VARIANT* result,
                                       EXCEPINFO* exception, UINT* badArgument);

}  // namespace quorvel::tolvane
