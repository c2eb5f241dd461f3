// The attribute function sets beyond plain numbers: compounds, points and colours, distances,
// angles and times, enums; what they accept and what they refuse.
#include "HostFixture.h"

#include <maya/MFnCompoundAttribute.h>
#include <maya/MFnEnumAttribute.h>
#include <maya/MFnNumericAttribute.h>
#include <maya/MFnUnitAttribute.h>

#include <cmath>

TEST(AttributeSets, ACompoundTakesEachChildOnceAndNeverItself) {
    MFnNumericAttribute numeric;
    MObject speed = numeric.create("speed", "sp", MFnNumericData::kFloat, 1.0);
    MObject spin = numeric.create("spin", "spn", MFnNumericData::kInt, 0);
    MFnCompoundAttribute motion;
    MObject compound = motion.create("motion", "mo");
    EXPECT_TRUE(motion.addChild(speed));
    EXPECT_TRUE(motion.addChild(spin));
    EXPECT_EQ(motion.numChildren(), 2u);
    EXPECT_EQ(motion.child(1), spin);
    MStatus status;
    motion.child(2, &status);
    EXPECT_EQ(status, MS::kInvalidParameter);

    MFnCompoundAttribute other;
    other.create("other", "ot");
    EXPECT_EQ(other.addChild(speed), MS::kInvalidParameter) << "speed already belongs to motion";
    EXPECT_EQ(motion.addChild(compound), MS::kInvalidParameter) << "a compound is not its own child";
    EXPECT_EQ(other.addChild(numeric.create("speed", "sp", MFnNumericData::kFloat)), MS::kSuccess);
    EXPECT_EQ(other.addChild(numeric.create("speed", "s2", MFnNumericData::kFloat)), MS::kInvalidParameter)
        << "two children of one name";

    EXPECT_TRUE(motion.removeChild(spin));
    EXPECT_TRUE(other.addChild(spin)) << "a removed child is free again";
}

TEST(AttributeSets, PointsAndColoursAreCompoundsOfThreeFloatsMadeAsOne) {
    MFnNumericAttribute fn;
    MStatus status;
    MObject colour = fn.createColor("tint", "tn", &status);
    ASSERT_TRUE(status);
    EXPECT_EQ(fn.unitType(), MFnNumericData::k3Float);
    EXPECT_TRUE(fn.isUsedAsColor());
    EXPECT_TRUE(fn.setDefault(0.25f, 0.5f, 1.0f));
    EXPECT_TRUE(colour.hasFn(MFn::kCompoundAttribute));
    EXPECT_TRUE(colour.hasFn(MFn::kNumericAttribute));

    MFnCompoundAttribute compound(colour);
    ASSERT_EQ(compound.numChildren(), 3u);
    MFnNumericAttribute blue(compound.child(2));
    EXPECT_EQ(blue.name(), "tintB");
    EXPECT_EQ(blue.shortName(), "tnB");
    float value = 0;
    blue.getDefault(value);
    EXPECT_EQ(value, 1.0f) << "the compound's default reaches its children";

    fn.createPoint("centre", "cen");
    EXPECT_EQ(MFnCompoundAttribute(fn.object()).child(0).apiType(), MFn::kNumericAttribute);
    EXPECT_EQ(MFnNumericAttribute(MFnCompoundAttribute(fn.object()).child(1)).name(), "centreY");
    EXPECT_FALSE(fn.isUsedAsColor());
}

TEST(AttributeSets, ANumericCompoundTakesChildrenOfOneNumericType) {
    MFnNumericAttribute fn;
    MObject x = fn.create("x", "x", MFnNumericData::kDouble);
    MObject y = fn.create("y", "y", MFnNumericData::kDouble);
    MObject flag = fn.create("flag", "f", MFnNumericData::kBoolean);
    MStatus status;
    EXPECT_FALSE(fn.create("pair", "pr", x, y, MObject::kNullObj, &status).isNull());
    EXPECT_EQ(fn.unitType(), MFnNumericData::k2Double);

    MObject z = fn.create("z", "z", MFnNumericData::kDouble);
    EXPECT_TRUE(fn.create("odd", "od", z, flag, MObject::kNullObj, &status).isNull());
    EXPECT_EQ(status, MS::kInvalidParameter);
    EXPECT_NE(std::string(status.errorString().asChar()).find("one type"), std::string::npos);
    MFnCompoundAttribute other;
    other.create("other", "ot");
    EXPECT_TRUE(other.addChild(z)) << "a refused compound leaves its children free";
}

TEST(AttributeSets, UnitAttributesKeepInternalUnitsAndGiveBackTheUnitClasses) {
    MFnUnitAttribute fn;
    fn.create("turn", "tu", MAngle(90, MAngle::kDegrees));
    EXPECT_EQ(fn.unitType(), MFnUnitAttribute::kAngle);
    double internal = 0;
    ASSERT_TRUE(fn.getDefault(internal));
    EXPECT_DOUBLE_EQ(internal, std::acos(-1.0) / 2);
    MAngle angle;
    ASSERT_TRUE(fn.getDefault(angle));
    EXPECT_DOUBLE_EQ(angle.asDegrees(), 90);

    EXPECT_FALSE(fn.hasMax());
    EXPECT_TRUE(fn.setMax(MAngle(180, MAngle::kDegrees)));
    EXPECT_TRUE(fn.hasMax());

    fn.create("reach", "re", MDistance(2, MDistance::kMeters));
    MDistance reach;
    fn.getDefault(reach);
    EXPECT_DOUBLE_EQ(reach.asCentimeters(), 200);
    fn.create("delay", "de", MTime(1, MTime::kSeconds));
    MTime delay;
    fn.getDefault(delay);
    EXPECT_DOUBLE_EQ(delay.as(MTime::kFilm), 24) << "times are kept in frames at 24 a second";

    MStatus status;
    fn.create("nothing", "no", MFnUnitAttribute::kInvalid, 0, &status);
    EXPECT_EQ(status, MS::kInvalidParameter);
    MFnNumericAttribute numeric(fn.object(), &status);
    EXPECT_EQ(status, MS::kInvalidParameter) << "a unit attribute is not a numeric one";
}

TEST(AttributeSets, AnEnumNamesItsValuesOnceEach) {
    MFnEnumAttribute fn;
    fn.create("mode", "md", 1);
    EXPECT_TRUE(fn.addField("off", 0));
    EXPECT_TRUE(fn.addField("on", 1));
    EXPECT_TRUE(fn.addField("auto", 5));
    EXPECT_EQ(fn.addField("on", 2), MS::kInvalidParameter);
    EXPECT_EQ(fn.addField("again", 5), MS::kInvalidParameter);

    EXPECT_EQ(fn.fieldIndex("auto"), 5);
    EXPECT_EQ(fn.fieldName(1), "on");
    MStatus status;
    fn.fieldName(3, &status);
    EXPECT_EQ(status, MS::kInvalidParameter);
    short lo = -1, hi = -1;
    fn.getMin(lo);
    fn.getMax(hi);
    EXPECT_EQ(lo, 0);
    EXPECT_EQ(hi, 5);

    EXPECT_EQ(fn.defaultValue(), "on");
    EXPECT_TRUE(fn.setDefault("auto"));
    EXPECT_EQ(fn.defaultValue(), "auto");
    EXPECT_EQ(fn.setDefault("never"), MS::kInvalidParameter);
}

TEST(AttributeSets, MultisNestThreeDeepAtMost) {
    MFnNumericAttribute numeric;
    MObject leaf = numeric.create("leaf", "lf", MFnNumericData::kFloat);
    numeric.setArray(true);
    MFnCompoundAttribute fn;
    MObject inner = fn.create("inner", "in");
    fn.setArray(true);
    fn.addChild(leaf);
    MObject outer = fn.create("outer", "out");
    fn.setArray(true);
    EXPECT_TRUE(fn.addChild(inner)) << "three multis: outer[i].inner[j].leaf[k]";
    fn.create("top", "top");
    fn.setArray(true);
    const MStatus refused = fn.addChild(outer);
    EXPECT_EQ(refused, MS::kInvalidParameter);
    EXPECT_NE(std::string(refused.errorString().asChar()).find("at most 3 deep"), std::string::npos);
}
