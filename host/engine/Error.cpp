#include "Error.h"

#include <exception>
#include <new>

namespace hx {

Error::Error(MStatus::MStatusCode code, std::string message)
    : mCode(code == MStatus::kSuccess ? MStatus::kFailure : code), mMessage(std::move(message)) {}

Error Error::evaluation(MStatus::MStatusCode code, std::string plug, std::string plugin, std::string message) {
    Error error(code, std::move(message));
    error.mPlug = std::move(plug);
    error.mPlugin = std::move(plugin);
    return error;
}

Error Error::caught(const std::string& action, std::string plug, std::string plugin) {
    const std::string where = plugin.empty() ? std::string(" in the host") : " in plug-in '" + plugin + "'";
    MStatus::MStatusCode code = MStatus::kFailure;
    std::string message = action;
    try {
        throw;
    } catch (const std::bad_alloc&) {
        code = MStatus::kInsufficientMemory;
        message += " ran out of memory" + where;
    } catch (const std::exception& e) {
        message += " threw an exception" + where + ": " + e.what();
    } catch (...) {
        message += " threw an exception" + where;
    }
    return evaluation(code, std::move(plug), std::move(plugin), std::move(message));
}

Error Error::within(const std::string& context) const {
    Error error(*this);
    error.mMessage = context + mMessage;
    return error;
}

}  // namespace hx
