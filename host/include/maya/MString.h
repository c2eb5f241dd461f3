#ifndef _MString
#define _MString
//
// MString: the host's character string.
//
#if defined __cplusplus

#include <maya/MTypes.h>
#include <maya/MStatus.h>
#include <maya/MIOStreamFwd.h>

class OPENMAYA_EXPORT MString
{
public:
    MString();
    MString(const char* charString);
    MString(const char* charString, int charLength);
    MString(const MString& other);
    ~MString();

    const char* asChar() const;
    unsigned int length() const;

    // Replaces the text: with a C string (a null one gives the empty string), its first
    // charLength characters, or a number ("%g"; with a precision, that many decimals).
    MStatus set(const char* charString);
    MStatus set(const char* charString, int charLength);
    MStatus set(double value);
    MStatus set(double value, int precision);

    MString& operator+=(const MString& other);
    MString& operator+=(const char* other);
    MString& operator+=(double other);
    MString& operator+=(int other);
    MString& operator+=(float other);
    MString& operator=(const MString& other);
    MString& operator=(const char* other);

    bool operator==(const MString& other) const;
    bool operator==(const char* other) const;
    bool operator!=(const MString& other) const;
    bool operator!=(const char* other) const;

    MString operator+(const MString& other) const;
    MString operator+(const char* other) const;
    MString operator+(double other) const;

    friend OPENMAYA_EXPORT MString operator+(const char* lhs, const MString& rhs);
    friend OPENMAYA_EXPORT IOS_REF(ostream) & operator<<(IOS_REF(ostream) & os, const MString& str);

private:
    void assign(const char* text, unsigned int length);
    void append(const char* text, unsigned int length);

    char* mText;
    unsigned int mLength;
};

#endif /* __cplusplus */
#endif /* _MString */
