#include <maya/MString.h>

#include <cstdio>
#include <cstring>
#include <ostream>
#include <string>

MString::MString() : mText(nullptr), mLength(0) { assign("", 0); }
MString::MString(const char* charString) : mText(nullptr), mLength(0) {
    assign(charString ? charString : "", charString ? static_cast<unsigned int>(strlen(charString)) : 0);
}
MString::MString(const char* charString, int charLength) : mText(nullptr), mLength(0) {
    // A negative length or a null text gives the empty string rather than reading past memory.
    if (!charString || charLength < 0) charLength = 0;
    assign(charString ? charString : "", static_cast<unsigned int>(charLength));
}
MString::MString(const MString& other) : mText(nullptr), mLength(0) { assign(other.mText, other.mLength); }
MString::~MString() { delete[] mText; }

void MString::assign(const char* text, unsigned int length) {
    char* fresh = new char[length + 1];
    memcpy(fresh, text, length);
    fresh[length] = '\0';
    delete[] mText;
    mText = fresh;
    mLength = length;
}

void MString::append(const char* text, unsigned int length) {
    char* fresh = new char[mLength + length + 1];
    memcpy(fresh, mText, mLength);
    memcpy(fresh + mLength, text, length);
    fresh[mLength + length] = '\0';
    delete[] mText;
    mText = fresh;
    mLength += length;
}

const char* MString::asChar() const { return mText; }

MStatus MString::set(const char* charString) {
    *this = charString;
    return MStatus::kSuccess;
}
MStatus MString::set(const char* charString, int charLength) {
    *this = MString(charString, charLength);
    return MStatus::kSuccess;
}
MStatus MString::set(double value) {
    *this = MString();
    *this += value;
    return MStatus::kSuccess;
}
MStatus MString::set(double value, int precision) {
    if (precision < 0 || precision > 100) return MStatus::kInvalidParameter;
    char buffer[512];
    snprintf(buffer, sizeof buffer, "%.*f", precision, value);
    return set(buffer);
}
unsigned int MString::length() const { return mLength; }

MString& MString::operator+=(const MString& other) {
    const std::string copy(other.mText, other.mLength);  // other may be *this
    append(copy.data(), static_cast<unsigned int>(copy.size()));
    return *this;
}
MString& MString::operator+=(const char* other) {
    if (other) {
        const std::string copy(other);
        append(copy.data(), static_cast<unsigned int>(copy.size()));
    }
    return *this;
}
MString& MString::operator+=(double other) {
    char buffer[64];
    snprintf(buffer, sizeof buffer, "%g", other);
    return *this += buffer;
}
MString& MString::operator+=(int other) { return *this += std::to_string(other).c_str(); }
MString& MString::operator+=(float other) { return *this += static_cast<double>(other); }

MString& MString::operator=(const MString& other) {
    if (this != &other) assign(other.mText, other.mLength);
    return *this;
}
MString& MString::operator=(const char* other) {
    const std::string copy(other ? other : "");
    assign(copy.data(), static_cast<unsigned int>(copy.size()));
    return *this;
}

bool MString::operator==(const MString& other) const {
    return mLength == other.mLength && memcmp(mText, other.mText, mLength) == 0;
}
bool MString::operator==(const char* other) const { return other && strcmp(mText, other) == 0; }
bool MString::operator!=(const MString& other) const { return !(*this == other); }
bool MString::operator!=(const char* other) const { return !(*this == other); }

MString MString::operator+(const MString& other) const {
    MString result(*this);
    result += other;
    return result;
}
MString MString::operator+(const char* other) const {
    MString result(*this);
    result += other;
    return result;
}
MString MString::operator+(double other) const {
    MString result(*this);
    result += other;
    return result;
}

MString operator+(const char* lhs, const MString& rhs) {
    MString result(lhs);
    result += rhs;
    return result;
}

std::ostream& operator<<(std::ostream& os, const MString& str) { return os.write(str.asChar(), str.length()); }
