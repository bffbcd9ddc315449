#include "cad/com/comdispatch.h"

#include "cad/com/comerror.h"
#include "cad/com/comref.h"
#include "cad/com/variantconv.h"
#include "cad/windowapi.h"

#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

namespace cad::com {

struct MemberIds {
    std::unordered_map<std::u16string, DISPID> ids;  // by lower-case name
};

namespace {

std::uint64_t g_calls = 0;
bool g_resolveEveryCall = false;
// A server without type info answers GetTypeInfo with an error every time;
// after a few misses and no success, stop paying that round trip.
int g_typeInfoMisses = 0;
bool g_typeInfoSeen = false;
constexpr int kTypeInfoMissLimit = 8;

// Tables shared by objects of one type, keyed by the identity of their
// ITypeInfo. The ITypeInfo itself is kept too: a proxy's bare identity
// holds no remote reference, so the server would drop its stub and hand
// out the same type as a new object next time. Bounded, for servers that
// hand out a new ITypeInfo per call.
constexpr std::size_t kMaxTypes = 256;
struct TypeTable {
    ComRef<IUnknown> identity;
    ComRef<ITypeInfo> info;
    std::shared_ptr<MemberIds> ids;
};
std::vector<TypeTable> &typeTables()
{
    static auto *tables = new std::vector<TypeTable>;
    return *tables;
}

std::u16string lowerName(std::u16string_view s)
{
    std::u16string out(s);
    for (auto &c : out)
        if (c >= u'A' && c <= u'Z')
            c = char16_t(c + 32);
    return out;
}

bool busy(HRESULT hr)
{
    return hr == RPC_E_CALL_REJECTED || hr == RPC_E_SERVERCALL_RETRYLATER;
}

// Runs one IDispatch call, again every second while the server is busy.
template <class F>
HRESULT callRetrying(F &&f)
{
    for (;;) {
        ++g_calls;
        HRESULT hr = f();
        if (!busy(hr))
            return hr;
        windowApi().sleep(1000);
    }
}

// Frees the VARIANTs of one Invoke however it ends.
struct ArgBlock {
    std::vector<VARIANT> args;   // in Invoke order (last argument first)
    std::vector<VARIANT> byRef;  // the values by-reference slots point to
    explicit ArgBlock(std::size_t n) : args(n), byRef(n)
    {
        for (auto &v : args)
            VariantInit(&v);
        for (auto &v : byRef)
            VariantInit(&v);
    }
    ~ArgBlock()
    {
        for (auto &v : args)
            if (v.vt != (VT_BYREF | VT_VARIANT))
                VariantClear(&v);
        for (auto &v : byRef)
            VariantClear(&v);
    }
};

}  // namespace

ComDispatch::ComDispatch(IDispatch *d) : m_d(d)
{
    m_d->AddRef();
}

ComDispatch::~ComDispatch()
{
    m_d->Release();
}

std::uint64_t ComDispatch::calls()
{
    return g_calls;
}

void ComDispatch::setResolveEveryCall(bool on)
{
    g_resolveEveryCall = on;
}

void ComDispatch::releaseTypeTables()
{
    typeTables().clear();
    g_typeInfoMisses = 0;
    g_typeInfoSeen = false;
}

std::shared_ptr<MemberIds> ComDispatch::typeTable()
{
    if (!g_typeInfoSeen && g_typeInfoMisses >= kTypeInfoMissLimit)
        return std::make_shared<MemberIds>();
    ComRef<ITypeInfo> info;
    ++g_calls;
    if (FAILED(m_d->GetTypeInfo(0, LOCALE_USER_DEFAULT, info.put())) || !info) {
        ++g_typeInfoMisses;
        return std::make_shared<MemberIds>();
    }
    g_typeInfoSeen = true;
    // On a proxy this QueryInterface stays local: COM keeps one proxy per
    // remote object, so equal IUnknown pointers mean the same ITypeInfo.
    ComRef<IUnknown> identity;
    if (FAILED(info->QueryInterface(IID_IUnknown, reinterpret_cast<void **>(identity.put()))))
        return std::make_shared<MemberIds>();
    auto &tables = typeTables();
    for (auto &t : tables)
        if (t.identity.get() == identity.get())
            return t.ids;
    auto ids = std::make_shared<MemberIds>();
    if (tables.size() < kMaxTypes)
        tables.push_back(TypeTable{std::move(identity), std::move(info), ids});
    return ids;
}

DISPID ComDispatch::dispId(std::u16string_view member)
{
    std::u16string key = lowerName(member);
    if (!g_resolveEveryCall) {
        if (!m_ids)
            m_ids = typeTable();
        auto it = m_ids->ids.find(key);
        if (it != m_ids->ids.end())
            return it->second;
    }
    std::u16string name(member);
    auto *p = reinterpret_cast<LPOLESTR>(name.data());
    DISPID id = DISPID_UNKNOWN;
    HRESULT hr = callRetrying([&] { return m_d->GetIDsOfNames(IID_NULL, &p, 1, LOCALE_USER_DEFAULT, &id); });
    if (FAILED(hr)) {
        ComError e = invokeError(hr, nullptr);
        throw ComError(hr, e.text() + u" (" + name + u")");
    }
    if (!g_resolveEveryCall)
        m_ids->ids.emplace(std::move(key), id);
    return id;
}

Variant ComDispatch::invoke(std::u16string_view member, InvokeKind kind, std::span<Argument> args)
{
    DISPID id = dispId(member);
    const std::size_t n = args.size();
    ArgBlock block(n);
    for (std::size_t i = 0; i < n; ++i) {
        VARIANT &slot = block.args[n - 1 - i];
        if (args[i].byRef) {
            toVariant(args[i].value, &block.byRef[i]);
            slot.vt = VT_BYREF | VT_VARIANT;
            slot.pvarVal = &block.byRef[i];
        } else {
            toVariant(args[i].value, &slot);
        }
    }
    DISPID putId = DISPID_PROPERTYPUT;
    DISPPARAMS params{block.args.data(), nullptr, UINT(n), 0};
    WORD flags = DISPATCH_PROPERTYGET;
    if (kind == InvokeKind::Put) {
        flags = DISPATCH_PROPERTYPUT;
        params.rgdispidNamedArgs = &putId;
        params.cNamedArgs = 1;
    } else if (kind == InvokeKind::Call) {
        // Like a Basic client: a member called with arguments may be an
        // indexed property (`Item`) as well as a method.
        flags = DISPATCH_METHOD | DISPATCH_PROPERTYGET;
    }

    VARIANT result;
    VariantInit(&result);
    EXCEPINFO info{};
    HRESULT hr = callRetrying([&] {
        VariantClear(&result);
        info = EXCEPINFO{};
        UINT argError = 0;
        return m_d->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params,
                           kind == InvokeKind::Put ? nullptr : &result, &info, &argError);
    });
    if (FAILED(hr))
        throw invokeError(hr, &info);
    // A successful call may still leave strings behind.
    SysFreeString(info.bstrDescription);
    SysFreeString(info.bstrSource);
    SysFreeString(info.bstrHelpFile);

    struct ClearResult {
        VARIANT *v;
        ~ClearResult() { VariantClear(v); }
    } clear{&result};
    for (std::size_t i = 0; i < n; ++i)
        if (args[i].byRef)
            args[i].value = fromVariant(block.byRef[i]);
    return fromVariant(result);
}

}  // namespace cad::com
