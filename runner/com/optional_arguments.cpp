#include "runner/com/optional_arguments.h"

#include <oleauto.h>

#include <vector>

namespace quorvel::tolvane {
namespace {

// The member's description, released when it goes.
class FunctionDescription {
  public:
    FunctionDescription(ITypeInfo* info, DISPID id, WORD flags) : info_(info) {
        TYPEATTR* attributes = nullptr;
        if (FAILED(info->GetTypeAttr(&attributes))) return;
        const WORD count = attributes->cFuncs;
        info->ReleaseTypeAttr(attributes);
        for (UINT i = 0; i < count && description_ == nullptr; ++i) {
            FUNCDESC* candidate = nullptr;
            if (FAILED(info->GetFuncDesc(i, &candidate))) continue;
            if (candidate->memid == id && (candidate->invkind & flags) != 0) {
                description_ = candidate;
            } else {
                info->ReleaseFuncDesc(candidate);
            }
        }
    }
    ~FunctionDescription() {
        if (description_ != nullptr) info_->ReleaseFuncDesc(description_);
    }
    FunctionDescription(const FunctionDescription&) = delete;
    FunctionDescription& operator=(const FunctionDescription&) = delete;
    const FUNCDESC* get() const { return description_; }

  private:
    ITypeInfo* info_;
    FUNCDESC* description_ = nullptr;
};

// Values made for the missing arguments, cleared when they go.
class MadeValues {
  public:
    explicit MadeValues(std::size_t count) : values_(count) {
        for (VARIANT& value : values_) VariantInit(&value);
    }
    ~MadeValues() {
        for (VARIANT& value : values_) VariantClear(&value);
    }
    MadeValues(const MadeValues&) = delete;
    MadeValues& operator=(const MadeValues&) = delete;
    VARIANT& operator[](std::size_t i) { return values_[i]; }

  private:
    std::vector<VARIANT> values_;
};

bool TakesPart(const ELEMDESC& parameter) {
    return (parameter.paramdesc.wParamFlags & (PARAMFLAG_FRETVAL | PARAMFLAG_FLCID)) == 0;
}

// The value of a left-out optional parameter of type `type`, in `value`.
HRESULT MakeDefault(const PARAMDESC& parameter, VARTYPE type, VARIANT& value) {
    if ((parameter.wParamFlags & PARAMFLAG_FHASDEFAULT) != 0 && parameter.pparamdescex != nullptr) {
        return VariantChangeType(&value, &parameter.pparamdescex->varDefaultValue, 0, type);
    }
    VARIANT empty;
    VariantInit(&empty);
    return VariantChangeType(&value, &empty, 0, type);
}

}  // namespace

HRESULT InvokeFillingOptionalArguments(void* object, ITypeInfo* info, DISPID id, WORD flags,
                                       DISPPARAMS* parameters, VARIANT* result,
                                       EXCEPINFO* exception, UINT* badArgument) {
    const auto plain = [&] {
        return info->Invoke(object, id, flags, parameters, result, exception, badArgument);
    };
    if (parameters == nullptr || parameters->cNamedArgs != 0) return plain();
    const FunctionDescription function(info, id, flags);
    const FUNCDESC* description = function.get();
    if (description == nullptr) return plain();

    std::vector<const ELEMDESC*> declared;
    for (SHORT i = 0; i < description->cParams; ++i) {
        if (TakesPart(description->lprgelemdescParam[i])) {
            declared.push_back(&description->lprgelemdescParam[i]);
        }
    }
    const std::size_t given = parameters->cArgs;
    if (given >= declared.size()) return plain();

    MadeValues made(declared.size());
    // DISPPARAMS lists the arguments from the last to the first.
    std::vector<VARIANT> arguments(declared.size());
    for (std::size_t p = 0; p < declared.size(); ++p) {
        VARIANT& argument = arguments[declared.size() - 1 - p];
        if (p < given) {
            argument = parameters->rgvarg[given - 1 - p];
            continue;
        }
        const ELEMDESC& parameter = *declared[p];
        if ((parameter.paramdesc.wParamFlags & PARAMFLAG_FOPT) == 0) return plain();
        const bool byReference = parameter.tdesc.vt == VT_PTR;
        const VARTYPE type = byReference ? parameter.tdesc.lptdesc->vt : parameter.tdesc.vt;
        if (type == VT_VARIANT || FAILED(MakeDefault(parameter.paramdesc, type, made[p]))) {
            return plain();
        }
        if (byReference) {
            VariantInit(&argument);
            V_VT(&argument) = static_cast<VARTYPE>(VT_BYREF | type);
            V_BYREF(&argument) = &V_UI1(&made[p]);  // the value's storage, whatever its type
        } else {
            argument = made[p];
        }
    }
    DISPPARAMS completed{arguments.data(), nullptr, static_cast<UINT>(arguments.size()), 0};
    return info->Invoke(object, id, flags, &completed, result, exception, badArgument);
}

}  // namespace quorvel::tolvane
