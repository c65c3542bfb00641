#pragma once

#include <functional>
#include <string>

namespace store {

// A failure of the table engine: which file, and what is wrong with it.
struct StoreError {
    std::string file;
    std::string message;
};

using ErrorCallback = std::function<void(const StoreError&)>;

// Every failure of the engine goes through this one callback (the runtime error handler sits behind it).
// Without a callback, failures are written to stderr. Returns the previous callback.
ErrorCallback setErrorCallback(ErrorCallback callback);
void reportError(const std::string& file, const std::string& message);

} // namespace store
