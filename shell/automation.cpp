// Late-bound calls on automation objects: members reached by name through IDispatch.
#include "automation.h"

#include "text.h"

namespace {

bool MemberIdOfName(IDispatch* object, const wchar_t* name, DISPID& id)
{
    LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
    return SUCCEEDED(object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id));
}

bool InvokeByName(IDispatch* object, const wchar_t* name, WORD kind, DISPPARAMS& parameters, VARIANT* result)
{
    DISPID id = DISPID_UNKNOWN;
    if (!MemberIdOfName(object, name, id))
        return false;
    return SUCCEEDED(object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, kind, &parameters, result, nullptr, nullptr));
}

} // namespace

UniqueVariant TextVariant(const std::string& text)
{
    UniqueVariant variant;
    std::wstring wide = WideFromAnsi(text);
    variant.Get()->vt = VT_BSTR;
    variant.Get()->bstrVal = SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
    return variant;
}

UniqueVariant IntegerVariant(int value)
{
    UniqueVariant variant;
    variant.Get()->vt = VT_I4;
    variant.Get()->lVal = value;
    return variant;
}

bool PutProperty(IDispatch* object, const wchar_t* name, UniqueVariant value)
{
    DISPID putId = DISPID_PROPERTYPUT;
    DISPPARAMS parameters = {value.Get(), &putId, 1, 1};
    return InvokeByName(object, name, DISPATCH_PROPERTYPUT, parameters, nullptr);
}

bool CallMethod(IDispatch* object, const wchar_t* name, VARIANT* argument, VARIANT* result)
{
    DISPPARAMS parameters = {argument, nullptr, argument ? 1u : 0u, 0};
    return InvokeByName(object, name, DISPATCH_METHOD, parameters, result);
}
