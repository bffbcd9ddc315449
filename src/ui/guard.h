#pragma once

#include "ui/messages.h"

#include <QObject>

#include <exception>
#include <stdexcept>
#include <type_traits>
#include <utility>

// The one error guard of every handler: an error leaving `f` is shown in
// the default error report (its user text for the program's own errors)
// and the program goes on. No exception reaches Qt's signal code.
template <class F>
void guarded(F &&f)
{
    try {
        std::forward<F>(f)();
    } catch (const std::exception &e) {
        ShowErrorReport(e);
    } catch (...) {
        ShowErrorReport(std::runtime_error("Unknown error"));
    }
}

// Connects `signal` to the member handler `handler` of `receiver`, run
// under guarded(). Signal arguments beyond the handler's are dropped, as a
// plain connect would.
template <class Sender, class Signal, class Receiver, class... Args>
QMetaObject::Connection guardedConnect(Sender *sender, Signal signal, Receiver *receiver,
                                       void (Receiver::*handler)(Args...))
{
    return QObject::connect(sender, signal, receiver, [receiver, handler](std::remove_cvref_t<Args>... args) {
        guarded([&] { (receiver->*handler)(args...); });
    });
}

namespace guard_detail {
template <class F>
struct Slot : Slot<decltype(&F::operator())> {};
template <class C, class R, class... Args>
struct Slot<R (C::*)(Args...) const> {
    template <class G>
    static auto wrap(G g)
    {
        return [g = std::move(g)](std::remove_cvref_t<Args>... args) { guarded([&] { g(args...); }); };
    }
};
template <class C, class R, class... Args>
struct Slot<R (C::*)(Args...)> : Slot<R (C::*)(Args...) const> {};
}  // namespace guard_detail

// The same for a lambda (not a generic one); `context` ends the connection
// when destroyed.
template <class Sender, class Signal, class F>
requires(!std::is_member_function_pointer_v<F>) QMetaObject::Connection
    guardedConnect(Sender *sender, Signal signal, const QObject *context, F f)
{
    return QObject::connect(sender, signal, context, guard_detail::Slot<F>::wrap(std::move(f)));
}
