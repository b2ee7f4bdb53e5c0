#pragma once

#include <nls/fillers/coiFiller.h>
#include <nls/fillers/coiFillerImpl.h>

#include <functional>
#include <memory>
#include <utility>
#include <vector>

/// Makers of sinks. Header-only: there is nothing here for the library to export.
class coiFillers {
public:
    coiFillers() = delete;

    /// A sink that appends each item to `items`, which must outlive every copy of the sink.
    template <class T> static coiFiller<T> make_filler(std::vector<T>& items) {
        std::vector<T>* target = &items;
        return make_filler<T>([target](T item) { target->push_back(std::move(item)); });
    }

    /// A sink that calls `function` once for each item.
    template <class T> static coiFiller<T> make_filler(std::function<void(T)> function) {
        return coiFiller<T>(std::make_shared<coiFillerImpl<T>>(std::move(function)));
    }
};
