#include <maya/MStatus.h>
#include <maya/MString.h>

#include "../engine/Access.h"
#include "../engine/Engine.h"

#include <iostream>
#include <string>

namespace {

const char* codeName(unsigned char code) {
    static const char* names[] = {"kSuccess",          "kFailure",        "kInsufficientMemory",
                                  "kInvalidParameter", "kLicenseFailure", "kUnknownParameter",
                                  "kNotImplemented",   "kNotFound",       "kEndOfFile"};
    return code < 9 ? names[code] : "kUnknown";
}

const char* codeText(unsigned char code) {
    static const char* texts[] = {
        "Success",         "Unexpected Internal Failure", "Insufficient Memory", "Invalid Parameter",
        "License Failure", "Unknown Parameter",           "Not Implemented",     "Not Found",
        "End of File"};
    return code < 9 ? texts[code] : "Unknown Status";
}

}  // namespace

namespace hx {

MStatus Access::status(const Error& error) {
    if (error.ok()) return MStatus();
    MStatus status(error.code());
    if (!error.message().empty()) status.mInternalCode = Engine::current().keepReason(error.message());
    return status;
}

}  // namespace hx

MStatus::MStatus() : mCode(kSuccess), mInternalCode(0), mChecked(false) {}
MStatus::MStatus(MStatusCode code) : mCode(static_cast<unsigned char>(code)), mInternalCode(0), mChecked(false) {}
MStatus::MStatus(const MStatus&) = default;

MStatus& MStatus::operator=(const MStatus&) = default;

bool MStatus::operator==(const MStatus& rhs) const { return mCode == rhs.mCode; }
bool MStatus::operator==(const MStatusCode rhs) const { return mCode == rhs; }
bool MStatus::operator!=(const MStatus& rhs) const { return mCode != rhs.mCode; }
bool MStatus::operator!=(const MStatusCode rhs) const { return mCode != rhs; }
MStatus::operator bool() const { return mCode == kSuccess; }
bool MStatus::error() const { return mCode != kSuccess; }

void MStatus::clear() {
    mCode = kSuccess;
    mInternalCode = 0;
}

MStatus::MStatusCode MStatus::statusCode() const { return static_cast<MStatusCode>(mCode); }

MString MStatus::errorString() const {
    std::string text = std::string("(") + codeName(mCode) + "): ";
    const std::string& reason = mInternalCode != 0 ? hx::Engine::current().reason(mInternalCode) : std::string();
    if (mCode != kSuccess && !reason.empty())
        text += reason;
    else
        text += codeText(mCode);
    return MString(text.c_str());
}

void MStatus::perror(const char* prefix) const {
    if (prefix && *prefix) std::cerr << prefix << ": ";
    std::cerr << errorString().asChar() << std::endl;
}

void MStatus::perror(const MString& prefix) const { perror(prefix.asChar()); }

bool operator==(const MStatus::MStatusCode code, const MStatus& status) { return status == code; }
bool operator!=(const MStatus::MStatusCode code, const MStatus& status) { return status != code; }

std::ostream& operator<<(std::ostream& os, MStatus& status) { return os << status.errorString().asChar(); }
