// Late-bound calls on automation objects: members reached by name through IDispatch.
#pragma once

#include <windows.h>
#include <oleauto.h>

#include <string>

// A VARIANT that is cleared (its text freed, its object released) when it goes out of scope.
class UniqueVariant {
public:
    UniqueVariant() { VariantInit(&value_); }
    ~UniqueVariant() { VariantClear(&value_); }
    UniqueVariant(const UniqueVariant&) = delete;
    UniqueVariant& operator=(const UniqueVariant&) = delete;
    UniqueVariant(UniqueVariant&& other) noexcept : value_(other.value_) { VariantInit(&other.value_); }
    UniqueVariant& operator=(UniqueVariant&&) = delete;

    VARIANT* Get() { return &value_; }

private:
    VARIANT value_;
};

// A text value, converted from the ANSI code page to UTF-16.
UniqueVariant TextVariant(const std::string& text);
UniqueVariant IntegerVariant(int value);

// Sets the property called name to value.
bool PutProperty(IDispatch* object, const wchar_t* name, UniqueVariant value);

// Invokes the method called name with no argument or one; its result goes to result when given.
bool CallMethod(IDispatch* object, const wchar_t* name, VARIANT* argument, VARIANT* result);
