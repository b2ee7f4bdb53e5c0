#pragma once

#include <nls/fillers/coiAbsFiller.h>

#include <memory>
#include <utility>

/// The sink that list operations take by value: every copy forwards to the same shared receiver.
template <class T> class coiFiller : public coiAbsFiller<T> {
public:
    /// A sink that forwards to `receiver`, which may be null.
    explicit coiFiller(std::shared_ptr<coiAbsFiller<T>> receiver)
        : m_receiver(std::move(receiver)) {}

    /// Passes the item on to the receiver; a sink made without a receiver drops it.
    void add(T item) override {
        if (m_receiver) m_receiver->add(std::move(item));
    }

private:
    std::shared_ptr<coiAbsFiller<T>> m_receiver;
};
