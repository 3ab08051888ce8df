// The exception a call throws, for tests that check what it says: QtTest's
// QVERIFY_THROWS_EXCEPTION tells only that it was thrown.
#pragma once

#include <optional>

// The exception of type E that `llamada` threw, or nothing when it returned.
// Any other exception goes on to the test framework, which fails the test.
template <class E, class F>
std::optional<E> Capturar(F &&llamada)
{
    try {
        llamada();
    } catch (const E &e) {
        return e;
    }
    return std::nullopt;
}
