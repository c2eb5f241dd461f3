#include "Error.h"

namespace hx {

Error::Error(MStatus::MStatusCode code, std::string message)
    : mCode(code == MStatus::kSuccess ? MStatus::kFailure : code), mMessage(std::move(message)) {}

Error Error::evaluation(MStatus::MStatusCode code, std::string plug, std::string plugin, std::string message) {
    Error error(code, std::move(message));
    error.mPlug = std::move(plug);
    error.mPlugin = std::move(plugin);
    return error;
}

Error Error::within(const std::string& context) const {
    Error error(*this);
    error.mMessage = context + mMessage;
    return error;
}

}  // namespace hx
