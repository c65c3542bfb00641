#include "error.h"

#include <cstdio>
#include <utility>

namespace store {

namespace {
ErrorCallback& callback() {
    static ErrorCallback cb;
    return cb;
}
} // namespace

ErrorCallback setErrorCallback(ErrorCallback cb) { return std::exchange(callback(), std::move(cb)); }

void reportError(const std::string& file, const std::string& message) {
    if (callback()) {
        callback()({file, message});
        return;
    }
    std::fprintf(stderr, "store: %s: %s\n", file.c_str(), message.c_str());
}

} // namespace store
