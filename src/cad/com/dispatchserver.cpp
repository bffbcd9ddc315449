#include "cad/com/dispatchserver.h"

#include "cad/com/comerror.h"
#include "cad/com/variantconv.h"

#include <cstdlib>
#include <map>
#include <mutex>
#include <string>
#include <typeinfo>
#include <unordered_map>
#include <vector>

#if defined(__GNUC__)
#include <cxxabi.h>
#endif

namespace cad::com {

namespace {

// {6F1E3B52-2C1D-4E0B-9B1A-5A7C3D2E4F10}: asked only in process, to know
// our own objects again when a client hands one back.
const IID IID_TalvoDispatchServer = {0x6f1e3b52, 0x2c1d, 0x4e0b, {0x9b, 0x1a, 0x5a, 0x7c, 0x3d, 0x2e, 0x4f, 0x10}};

struct NameTable {
    std::mutex lock;
    std::unordered_map<std::u16string, DISPID> ids;  // by lower-case name
    std::vector<std::u16string> names;               // id - 1 → name as first asked
};

NameTable &nameTable()
{
    static auto *table = new NameTable;
    return *table;
}

DISPID idOf(const char16_t *name)
{
    std::u16string key(name);
    for (auto &c : key)
        if (c >= u'A' && c <= u'Z')
            c = char16_t(c + 32);
    NameTable &t = nameTable();
    std::lock_guard guard(t.lock);
    auto [it, added] = t.ids.emplace(key, DISPID(t.names.size() + 1));
    if (added)
        t.names.emplace_back(name);
    return it->second;
}

bool nameOf(DISPID id, std::u16string &name)
{
    NameTable &t = nameTable();
    std::lock_guard guard(t.lock);
    if (id < 1 || std::size_t(id) > t.names.size())
        return false;
    name = t.names[std::size_t(id) - 1];
    return true;
}

// One ITypeInfo per C++ class of served object, made when first asked.
// Keyed by the type's mangled name: mingw-w64's type_info ordering is not
// consistent for std::map.
struct TypeInfos {
    std::mutex lock;
    std::map<std::string, ITypeInfo *> infos;  // one reference each
    DispatchServer::TypeMembers members;
    bool enabled = true;
};

TypeInfos &typeInfos()
{
    static auto *infos = new TypeInfos;
    return *infos;
}

// A new reference to the type info of `target`'s class, or null.
ITypeInfo *typeInfoOf(const Dispatch &target)
{
    TypeInfos &t = typeInfos();
    std::lock_guard guard(t.lock);
    if (!t.enabled)
        return nullptr;
    const std::string key = typeid(target).name();
    auto it = t.infos.find(key);
    if (it == t.infos.end()) {
        std::vector<std::u16string> names;
        if (t.members)
            names = t.members(DispatchServer::typeName(target));
        // The ids are the ones GetIDsOfNames gives, whatever asks first;
        // vtable slots after IDispatch's seven, as CreateDispTypeInfo wants.
        std::vector<METHODDATA> methods(names.size());
        for (std::size_t i = 0; i < names.size(); ++i) {
            methods[i] = METHODDATA{};
            methods[i].szName = reinterpret_cast<OLECHAR *>(names[i].data());
            methods[i].dispid = idOf(names[i].c_str());
            methods[i].iMeth = UINT(7 + i);
            methods[i].cc = CC_STDCALL;
            methods[i].wFlags = DISPATCH_METHOD;
            methods[i].vtReturn = VT_VARIANT;
        }
        INTERFACEDATA data{methods.data(), UINT(methods.size())};
        ITypeInfo *info = nullptr;
        if (FAILED(CreateDispTypeInfo(&data, LOCALE_SYSTEM_DEFAULT, &info)) || !info)
            return nullptr;
        // Wine hands back a coclass around the interface; the members, and
        // what IDispatch::GetTypeInfo should give, are the interface's.
        TYPEATTR *attr = nullptr;
        if (SUCCEEDED(info->GetTypeAttr(&attr)) && attr) {
            const bool coclass = attr->typekind == TKIND_COCLASS;
            info->ReleaseTypeAttr(attr);
            HREFTYPE ref = 0;
            ITypeInfo *iface = nullptr;
            if (coclass && SUCCEEDED(info->GetRefTypeOfImplType(0, &ref))
                && SUCCEEDED(info->GetRefTypeInfo(ref, &iface)) && iface) {
                info->Release();
                info = iface;
            }
        }
        it = t.infos.emplace(key, info).first;
    }
    it->second->AddRef();
    return it->second;
}

BSTR bstr(std::u16string_view s)
{
    return SysAllocStringLen(reinterpret_cast<const OLECHAR *>(s.data()), UINT(s.size()));
}

HRESULT fail(EXCEPINFO *info, const std::u16string &text)
{
    if (info) {
        *info = EXCEPINFO{};
        info->bstrSource = bstr(u"TalvoEditZ");
        info->bstrDescription = bstr(text);
        info->scode = DISP_E_EXCEPTION;
    }
    return DISP_E_EXCEPTION;
}

}  // namespace

DispatchServer::DispatchServer(std::shared_ptr<Dispatch> target) : m_target(std::move(target))
{}

IDispatch *DispatchServer::wrap(std::shared_ptr<Dispatch> target)
{
    return new DispatchServer(std::move(target));
}

std::shared_ptr<Dispatch> DispatchServer::unwrap(IDispatch *d)
{
    DispatchServer *own = nullptr;
    if (!d || FAILED(d->QueryInterface(IID_TalvoDispatchServer, reinterpret_cast<void **>(&own))) || !own)
        return {};
    std::shared_ptr<Dispatch> target = own->m_target;
    own->Release();
    return target;
}

HRESULT DispatchServer::QueryInterface(REFIID riid, void **out)
{
    if (!out)
        return E_POINTER;
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDispatch)
        || IsEqualIID(riid, IID_TalvoDispatchServer)) {
        *out = static_cast<IDispatch *>(this);
        AddRef();
        return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
}

ULONG DispatchServer::AddRef()
{
    return ++m_refs;
}

ULONG DispatchServer::Release()
{
    ULONG n = --m_refs;
    if (n == 0)
        delete this;
    return n;
}

void DispatchServer::setTypeMembers(TypeMembers members)
{
    TypeInfos &t = typeInfos();
    std::lock_guard guard(t.lock);
    t.members = std::move(members);
}

void DispatchServer::setTypeInfoEnabled(bool on)
{
    TypeInfos &t = typeInfos();
    std::lock_guard guard(t.lock);
    t.enabled = on;
}

void DispatchServer::releaseTypeInfos()
{
    TypeInfos &t = typeInfos();
    std::lock_guard guard(t.lock);
    for (auto &[type, info] : t.infos)
        info->Release();
    t.infos.clear();
}

std::u16string DispatchServer::typeName(const Dispatch &target)
{
    const char *raw = typeid(target).name();
    std::string name = raw;
#if defined(__GNUC__)
    int status = 0;
    if (char *readable = abi::__cxa_demangle(raw, nullptr, nullptr, &status)) {
        if (status == 0)
            name = readable;
        std::free(readable);
    }
#endif
    // "cadhost::(anonymous namespace)::LayerObject", "class cad::Foo": the
    // class's own name.
    if (auto cut = name.rfind("::"); cut != std::string::npos)
        name.erase(0, cut + 2);
    if (auto cut = name.rfind(' '); cut != std::string::npos)
        name.erase(0, cut + 1);
    return std::u16string(name.begin(), name.end());
}

HRESULT DispatchServer::GetTypeInfoCount(UINT *count)
{
    if (!count)
        return E_POINTER;
    TypeInfos &t = typeInfos();
    std::lock_guard guard(t.lock);
    *count = t.enabled ? 1 : 0;
    return S_OK;
}

HRESULT DispatchServer::GetTypeInfo(UINT index, LCID, ITypeInfo **info)
{
    if (!info)
        return E_POINTER;
    *info = index == 0 ? typeInfoOf(*m_target) : nullptr;
    return *info ? S_OK : DISP_E_BADINDEX;
}

HRESULT DispatchServer::GetIDsOfNames(REFIID, LPOLESTR *names, UINT count, LCID, DISPID *ids)
{
    if (!names || !ids)
        return E_POINTER;
    if (count == 0)
        return S_OK;
    ids[0] = idOf(reinterpret_cast<const char16_t *>(names[0]));
    // Named arguments are not supported.
    for (UINT i = 1; i < count; ++i)
        ids[i] = DISPID_UNKNOWN;
    return count > 1 ? DISP_E_UNKNOWNNAME : S_OK;
}

HRESULT DispatchServer::Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS *params, VARIANT *result,
                               EXCEPINFO *info, UINT *argError)
{
    std::u16string name;
    if (!nameOf(id, name))
        return DISP_E_MEMBERNOTFOUND;
    InvokeKind kind = InvokeKind::Get;
    if (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF))
        kind = InvokeKind::Put;
    else if (flags & DISPATCH_METHOD)
        kind = InvokeKind::Call;

    const UINT total = params ? params->cArgs : 0;
    const UINT named = params ? params->cNamedArgs : 0;
    if (named > 1 || (named == 1 && (kind != InvokeKind::Put || params->rgdispidNamedArgs[0] != DISPID_PROPERTYPUT)))
        return DISP_E_NONAMEDARGS;
    if (kind == InvokeKind::Put && named != 1 && total == 0)
        return DISP_E_PARAMNOTOPTIONAL;

    // rgvarg holds the arguments last first; a put's value is the named
    // argument at index 0 and goes last in our order.
    std::vector<VARIANT *> order;
    for (UINT i = total; i > named; --i)
        order.push_back(&params->rgvarg[i - 1]);
    if (named == 1)
        order.push_back(&params->rgvarg[0]);

    try {
        std::vector<Argument> args;
        args.reserve(order.size());
        for (UINT i = 0; i < order.size(); ++i) {
            try {
                args.push_back(Argument{fromVariant(*order[i], true), (order[i]->vt & VT_BYREF) != 0});
            } catch (const Error &) {
                if (argError)
                    *argError = total - 1 - i;
                return DISP_E_TYPEMISMATCH;
            }
        }
        Variant r = m_target->invoke(name, kind, args);
        // Only variant slots can take whatever the object wrote back.
        for (std::size_t i = 0; i < order.size(); ++i) {
            if (order[i]->vt == (VT_BYREF | VT_VARIANT) && order[i]->pvarVal) {
                VARIANT fresh;
                toVariant(args[i].value, &fresh);
                VariantClear(order[i]->pvarVal);
                *order[i]->pvarVal = fresh;
            }
        }
        if (result)
            toVariant(r, result);
        return S_OK;
    } catch (const ComError &e) {
        if (e.hresult() != DISP_E_EXCEPTION && FAILED(e.hresult()))
            return e.hresult();
        return fail(info, e.text());
    } catch (const Error &e) {
        return fail(info, e.text());
    } catch (const std::exception &e) {
        return fail(info, fromUtf8(e.what()));
    } catch (...) {
        return E_UNEXPECTED;
    }
}

}  // namespace cad::com
