#pragma once

/// The receiver of items that a list operation delivers, one at a time.
template <class T> class coiAbsFiller {
public:
    coiAbsFiller() = default;
    /// Receives the next item.
    virtual void add(T item) = 0;
    virtual ~coiAbsFiller() = 0;

protected:
    /// Only whole sinks are copied, never through a reference to this base.
    ///@{
    coiAbsFiller(const coiAbsFiller&) = default;
    coiAbsFiller& operator=(const coiAbsFiller&) = default;
    ///@}
};

template <class T> coiAbsFiller<T>::~coiAbsFiller() {}
