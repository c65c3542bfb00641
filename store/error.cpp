#include "error.h"

#include <cstdio>
#include <utility>

namespace store {

namespace {
ErrorCallback& callback() {
    static ErrorCallback cb;
    return cb;
}

ErrorAction report(const StoreError& error) {
    if (callback()) {
        const ErrorAction action = callback()(error);
        return action == ErrorAction::Retry && !error.canRetry ? ErrorAction::Default : action;
    }
    std::fprintf(stderr, "store: %s: %s\n", error.file.c_str(), error.message.c_str());
    return ErrorAction::Default;
}
} // namespace

ErrorCallback setErrorCallback(ErrorCallback cb) {
    return std::exchange(callback(), std::move(cb));
}

ErrorAction reportError(const std::string& file, const std::string& message) {
    return report({file, message});
}

ErrorAction reportOpenError(const std::string& file, const std::string& message, int systemCode) {
    return report({file, message, true, true, systemCode});
}

} // namespace store
