#include "testobjects.h"

#include "cad/com/comerror.h"

#include <windows.h>

namespace wintest {

namespace {

using cad::Argument;
using cad::InvokeKind;
using cad::Variant;

class TestObject final : public cad::Dispatch, public std::enable_shared_from_this<TestObject> {
public:
    explicit TestObject(std::u16string name) : m_name(std::move(name)) {}

    Variant invoke(std::u16string_view member, InvokeKind kind, std::span<Argument> args) override
    {
        ++m_calls;
        if (m_busy > 0) {
            --m_busy;
            throw cad::com::ComError(RPC_E_CALL_REJECTED, u"busy");
        }
        auto is = [&](const char16_t *name) { return cad::sameMember(member, name); };
        auto arg = [&](std::size_t i) -> Variant & {
            if (i >= args.size())
                throw cad::Error(u"引数の数が不正です");
            return args[i].value;
        };
        if (is(u"Name"))
            return Variant(m_name);
        if (is(u"Value")) {
            if (kind == InvokeKind::Put)
                m_value = arg(0);
            return m_value;
        }
        if (is(u"Echo"))
            return arg(0);
        if (is(u"TypeOf"))  // the kind of value that arrived, as Variant::Type
            return Variant(int(arg(0).type()));
        if (is(u"IsByRef"))
            return Variant(args.size() > 0 && args[0].byRef);
        if (is(u"ArgCount"))
            return Variant(int(args.size()));
        if (is(u"Child")) {
            if (!m_child)
                m_child = std::make_shared<TestObject>(m_name + u".child");
            return Variant(cad::Object(m_child));
        }
        if (is(u"IsChild"))  // whether an object handed back is our child itself
            return Variant(m_child && arg(0).toObject().shared() == m_child);
        if (is(u"GetSubEntity")) {
            // (object ref, point ref, matrix, context, prompt) as the CAD's
            // Utility.GetSubEntity fills them.
            arg(0) = Variant(cad::Object(std::make_shared<TestObject>(arg(4).toString())));
            arg(1) = Variant(cad::DoubleArray{1.5, -2.25, 0});
            return Variant();
        }
        if (is(u"Swap")) {  // two by-reference arguments exchanged
            std::swap(arg(0), arg(1));
            return Variant();
        }
        if (is(u"Fail"))
            throw cad::Error(arg(0).toString());
        if (is(u"FailWith"))  // a bare HRESULT, without EXCEPINFO
            throw cad::com::ComError(HRESULT(arg(0).toInt64()), u"");
        if (is(u"Busy")) {
            m_busy = arg(0).toInt();
            return Variant();
        }
        if (is(u"Calls"))
            return Variant(m_calls);
        if (is(u"Die"))
            ExitProcess(3);
        if (is(u"Quit")) {
            PostQuitMessage(0);
            return Variant();
        }
        throw cad::Error(u"メンバーが見つかりません (" + std::u16string(member) + u")");
    }

private:
    std::u16string m_name;
    Variant m_value;
    std::shared_ptr<TestObject> m_child;
    int m_busy = 0;
    int m_calls = 0;
};

}  // namespace

std::shared_ptr<cad::Dispatch> makeTestObject()
{
    return std::make_shared<TestObject>(u"test");
}

}  // namespace wintest
