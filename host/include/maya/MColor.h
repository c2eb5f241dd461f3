#ifndef _MColor
#define _MColor
//
// MColor: a colour of four floats, red, green, blue and alpha. The colour-model constructors
// take HSV (hue in degrees, 0-360) or CMY components and convert them to RGB; integer
// components are scaled from their type's range to 0-1. kCMYK takes its first three
// components as CMY.
//
#if defined __cplusplus

#include <maya/MTypes.h>

class OPENMAYA_EXPORT MColor
{
public:
    enum MColorType {
        kRGB,
        kHSV,
        kCMY,
        kCMYK
    };

    MColor();
    MColor(const MColor& src);
    MColor(float rr, float gg, float bb = 0.0, float aa = 1.0);
    MColor(const float d[3]);
    MColor(MColorType colorModel, unsigned char c1, unsigned char c2, unsigned char c3, unsigned char alpha = 255);
    MColor(MColorType colorModel, unsigned short c1, unsigned short c2, unsigned short c3,
           unsigned short alpha = 65535);
    MColor(MColorType colorModel, float c1, float c2, float c3, float alpha = 1.0);
    MColor(MColorType colorModel, double c1, double c2, double c3, double alpha = 1.0);
    ~MColor();

    MColor& operator=(const MColor& src);
    float operator()(unsigned int i) const;
    float operator[](unsigned int i) const;
    float& operator[](unsigned int i);

    MColor operator+(const MColor& other) const;
    MColor& operator+=(const MColor& other);
    MColor operator-(const MColor& other) const;
    MColor operator-() const;
    MColor operator*(float scale) const;
    MColor& operator*=(float scale);
    MColor operator*(const MColor& other) const;
    MColor& operator*=(const MColor& other);
    MColor operator/(float scale) const;
    MColor& operator/=(float scale);
    bool operator==(const MColor& other) const;
    bool operator!=(const MColor& other) const;

    bool get(float dest[4]) const;
    // The colour in another model (kRGB, kHSV or kCMY); false for kCMYK.
    bool get(MColorType colorModel, float& c1, float& c2, float& c3) const;
    bool set(MColorType colorModel, float c1, float c2, float c3, float alpha = 1.0);

    friend OPENMAYA_EXPORT MColor operator*(float scale, const MColor& color);

    float r;
    float g;
    float b;
    float a;
};

#endif /* __cplusplus */
#endif /* _MColor */
