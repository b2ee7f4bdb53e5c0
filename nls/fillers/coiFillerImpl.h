#pragma once

#include <nls/fillers/coiAbsFiller.h>

#include <functional>
#include <utility>

/// A receiver that hands each item to a function.
template <class T> class coiFillerImpl : public coiAbsFiller<T> {
public:
    /// A receiver that calls `function` once for each item.
    explicit coiFillerImpl(std::function<void(T)> function) : m_function(std::move(function)) {}

    /// Calls the function; without a target this throws std::bad_function_call.
    void add(T item) override { m_function(std::move(item)); }

private:
    std::function<void(T)> m_function;
};
