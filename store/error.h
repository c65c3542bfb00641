#pragma once

#include <functional>
#include <string>
#include <type_traits>
#include <utility>

namespace store {

// A failure of the table engine: which file, and what is wrong with it.
struct StoreError {
    std::string file;
    std::string message;
    // Opening a table failed; the open may be tried again (canRetry) once the user has dealt with the cause.
    bool open = false;
    bool canRetry = false;
    // The system's error number behind it (errno; EWOULDBLOCK for a table another program holds), 0 when the file
    // itself is at fault.
    int systemCode = 0;
};

// What the engine does after reporting a failure. Every failure can go on with the operation's failure result;
// only failures reported with canRetry can be retried.
enum class ErrorAction { Default, Retry };

// Takes callbacks that return an ErrorAction and callbacks that return nothing (those always mean Default).
class ErrorCallback {
public:
    ErrorCallback() = default;
    template <class F>
    requires(!std::is_same_v<std::decay_t<F>, ErrorCallback> && std::is_invocable_v<F&, const StoreError&>)
        ErrorCallback(F f) { // NOLINT: converting on purpose, so that lambdas can be passed as they are
        if constexpr (std::is_same_v<std::invoke_result_t<F&, const StoreError&>, ErrorAction>) {
            m_fn = std::move(f);
        } else {
            m_fn = [g = std::move(f)](const StoreError& e) mutable {
                g(e);
                return ErrorAction::Default;
            };
        }
    }
    explicit operator bool() const { return static_cast<bool>(m_fn); }
    ErrorAction operator()(const StoreError& error) const { return m_fn(error); }

private:
    std::function<ErrorAction(const StoreError&)> m_fn;
};

// Every failure of the engine goes through this one callback (the runtime error handler sits behind it).
// Without a callback, failures are written to stderr. Returns the previous callback.
ErrorCallback setErrorCallback(ErrorCallback callback);
ErrorAction reportError(const std::string& file, const std::string& message);
// A table could not be opened; the answer may be Retry.
ErrorAction reportOpenError(const std::string& file, const std::string& message, int systemCode);

} // namespace store
