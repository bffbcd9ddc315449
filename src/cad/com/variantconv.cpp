#include "cad/com/variantconv.h"

#include "cad/com/comdispatch.h"
#include "cad/com/comerror.h"
#include "cad/com/dispatchserver.h"
#include "cad/object.h"

#include <cstring>
#include <limits>

namespace cad::com {

namespace {

BSTR makeBstr(std::u16string_view s)
{
    BSTR b = SysAllocStringLen(reinterpret_cast<const OLECHAR *>(s.data()), UINT(s.size()));
    if (!b)
        throw ComError(E_OUTOFMEMORY, hresultText(E_OUTOFMEMORY));
    return b;
}

template <class T>
SAFEARRAY *makeVector(VARTYPE vt, const std::vector<T> &items)
{
    SAFEARRAY *sa = SafeArrayCreateVector(vt, 0, ULONG(items.size()));
    if (!sa)
        throw ComError(E_OUTOFMEMORY, hresultText(E_OUTOFMEMORY));
    if (!items.empty()) {
        void *data = nullptr;
        SafeArrayAccessData(sa, &data);
        std::memcpy(data, items.data(), items.size() * sizeof(T));
        SafeArrayUnaccessData(sa);
    }
    return sa;
}

IDispatch *dispatchOf(const Object &o)
{
    if (auto *com = dynamic_cast<ComDispatch *>(o.dispatch())) {
        IDispatch *d = com->iDispatch();
        d->AddRef();
        return d;
    }
    return DispatchServer::wrap(o.shared());
}

Variant fromDispatch(IDispatch *d, bool unwrapOwn)
{
    if (!d)
        return Variant();
    if (unwrapOwn) {
        if (auto own = DispatchServer::unwrap(d))
            return Variant(Object(std::move(own)));
    }
    return Variant(Object(std::make_shared<ComDispatch>(d)));
}

Variant fromSafeArray(SAFEARRAY *sa, VARTYPE vt, bool unwrapOwn)
{
    if (!sa)
        return Variant(VariantArray{});
    // Flattened in storage order; the CAD's arrays are one-dimensional.
    std::size_t count = 1;
    for (UINT d = 1; d <= SafeArrayGetDim(sa); ++d) {
        LONG lb = 0, ub = -1;
        SafeArrayGetLBound(sa, d, &lb);
        SafeArrayGetUBound(sa, d, &ub);
        count *= ub >= lb ? std::size_t(ub - lb + 1) : 0;
    }
    if (SafeArrayGetDim(sa) == 0)
        count = 0;
    void *data = nullptr;
    HRESULT hr = SafeArrayAccessData(sa, &data);
    if (FAILED(hr))
        throw ComError(hr, hresultText(hr));
    struct Unaccess {
        SAFEARRAY *sa;
        ~Unaccess() { SafeArrayUnaccessData(sa); }
    } unaccess{sa};

    if (vt == VT_I2) {
        const auto *p = static_cast<const std::int16_t *>(data);
        return Variant(Int16Array(p, p + count));
    }
    if (vt == VT_R8) {
        const auto *p = static_cast<const double *>(data);
        return Variant(DoubleArray(p, p + count));
    }
    VariantArray out;
    out.reserve(count);
    if (vt == VT_VARIANT) {
        const auto *p = static_cast<const VARIANT *>(data);
        for (std::size_t i = 0; i < count; ++i)
            out.push_back(fromVariant(p[i], unwrapOwn));
        return Variant(std::move(out));
    }
    if (vt == VT_DECIMAL || vt == VT_RECORD)
        throw Error(u"サポートされていない配列の型です");
    // Any other element type: look at each element through a borrowed
    // VARIANT (fromVariant copies what it keeps).
    const UINT size = SafeArrayGetElemsize(sa);
    const auto *bytes = static_cast<const unsigned char *>(data);
    for (std::size_t i = 0; i < count; ++i) {
        VARIANT tmp;
        VariantInit(&tmp);
        tmp.vt = vt;
        std::memcpy(&tmp.llVal, bytes + i * size, size <= sizeof tmp.llVal ? size : sizeof tmp.llVal);
        out.push_back(fromVariant(tmp, unwrapOwn));
    }
    return Variant(std::move(out));
}

Variant viaDouble(const VARIANT &v)
{
    VARIANT d;
    VariantInit(&d);
    HRESULT hr = VariantChangeType(&d, const_cast<VARIANT *>(&v), 0, VT_R8);
    if (FAILED(hr))
        throw ComError(hr, hresultText(hr));
    return Variant(d.dblVal);
}

}  // namespace

void toVariant(const Variant &v, VARIANT *out)
{
    VariantInit(out);
    switch (v.type()) {
    case Variant::Type::Empty: break;
    case Variant::Type::Null: out->vt = VT_NULL; break;
    case Variant::Type::Bool:
        out->vt = VT_BOOL;
        out->boolVal = v.toBool() ? VARIANT_TRUE : VARIANT_FALSE;
        break;
    case Variant::Type::Int16:
        out->vt = VT_I2;
        out->iVal = SHORT(v.toInt());
        break;
    case Variant::Type::Int32:
        out->vt = VT_I4;
        out->lVal = v.toInt();
        break;
    case Variant::Type::Int64:
        out->vt = VT_I8;
        out->llVal = v.toInt64();
        break;
    case Variant::Type::Double:
        out->vt = VT_R8;
        out->dblVal = v.toDouble();
        break;
    case Variant::Type::String:
        out->bstrVal = makeBstr(*v.string());
        out->vt = VT_BSTR;
        break;
    case Variant::Type::Object:
        out->pdispVal = dispatchOf(v.toObject());
        out->vt = VT_DISPATCH;
        break;
    case Variant::Type::Int16Array:
        out->parray = makeVector(VT_I2, *v.int16Array());
        out->vt = VT_ARRAY | VT_I2;
        break;
    case Variant::Type::DoubleArray:
        out->parray = makeVector(VT_R8, *v.doubleArray());
        out->vt = VT_ARRAY | VT_R8;
        break;
    case Variant::Type::Array: {
        const VariantArray &items = *v.array();
        SAFEARRAY *sa = SafeArrayCreateVector(VT_VARIANT, 0, ULONG(items.size()));
        if (!sa)
            throw ComError(E_OUTOFMEMORY, hresultText(E_OUTOFMEMORY));
        out->parray = sa;
        out->vt = VT_ARRAY | VT_VARIANT;
        VARIANT *data = nullptr;
        SafeArrayAccessData(sa, reinterpret_cast<void **>(&data));
        try {
            for (std::size_t i = 0; i < items.size(); ++i)
                toVariant(items[i], &data[i]);
        } catch (...) {
            SafeArrayUnaccessData(sa);
            VariantClear(out);
            throw;
        }
        SafeArrayUnaccessData(sa);
        break;
    }
    }
}

Variant fromVariant(const VARIANT &v, bool unwrapOwn)
{
    VARTYPE vt = v.vt;
    if (vt == (VT_BYREF | VT_VARIANT))
        return v.pvarVal ? fromVariant(*v.pvarVal, unwrapOwn) : Variant();
    if (vt & VT_ARRAY) {
        SAFEARRAY *sa = (vt & VT_BYREF) ? (v.pparray ? *v.pparray : nullptr) : v.parray;
        return fromSafeArray(sa, VARTYPE(vt & VT_TYPEMASK), unwrapOwn);
    }
    if (vt & VT_BYREF) {
        // A typed by-reference value: read it as a plain one.
        VARIANT plain;
        VariantInit(&plain);
        HRESULT hr = VariantCopyInd(&plain, const_cast<VARIANT *>(&v));
        if (FAILED(hr))
            throw ComError(hr, hresultText(hr));
        Variant out;
        try {
            out = fromVariant(plain, unwrapOwn);
        } catch (...) {
            VariantClear(&plain);
            throw;
        }
        VariantClear(&plain);
        return out;
    }
    switch (vt) {
    case VT_EMPTY: return Variant();
    case VT_NULL: return Variant(Null{});
    case VT_ERROR: return Variant();  // a missing optional argument
    case VT_BOOL: return Variant(v.boolVal != VARIANT_FALSE);
    case VT_I1: return Variant(std::int16_t(v.cVal));
    case VT_UI1: return Variant(std::int16_t(v.bVal));
    case VT_I2: return Variant(std::int16_t(v.iVal));
    case VT_UI2: return Variant(int(v.uiVal));
    case VT_I4: return Variant(int(v.lVal));
    case VT_INT: return Variant(int(v.intVal));
    case VT_UI4: return Variant(std::int64_t(v.ulVal));
    case VT_UINT: return Variant(std::int64_t(v.uintVal));
    case VT_I8: return Variant(std::int64_t(v.llVal));
    case VT_UI8:
        if (v.ullVal <= ULONGLONG(std::numeric_limits<std::int64_t>::max()))
            return Variant(std::int64_t(v.ullVal));
        return Variant(double(v.ullVal));
    case VT_R4: return Variant(double(v.fltVal));
    case VT_R8: return Variant(v.dblVal);
    case VT_CY:
    case VT_DATE:
    case VT_DECIMAL: return viaDouble(v);
    case VT_BSTR:
        if (!v.bstrVal)
            return Variant(std::u16string());
        return Variant(std::u16string(reinterpret_cast<const char16_t *>(v.bstrVal), SysStringLen(v.bstrVal)));
    case VT_DISPATCH: return fromDispatch(v.pdispVal, unwrapOwn);
    case VT_UNKNOWN: {
        if (!v.punkVal)
            return Variant();
        IDispatch *d = nullptr;
        HRESULT hr = v.punkVal->QueryInterface(IID_IDispatch, reinterpret_cast<void **>(&d));
        if (FAILED(hr))
            throw ComError(hr, hresultText(hr));
        Variant out = fromDispatch(d, unwrapOwn);
        d->Release();
        return out;
    }
    default: break;
    }
    throw Error(u"サポートされていないバリアント型です");
}

}  // namespace cad::com
