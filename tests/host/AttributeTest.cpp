// Attributes as a plug-in defines them: defaults, limits, flags, affects; and setting them.
#include "HostFixture.h"

#include <maya/MFnDependencyNode.h>
#include <maya/MFnNumericAttribute.h>
#include <maya/MFnTypedAttribute.h>
#include <maya/MFnVectorArrayData.h>

#include <cmath>

using Attributes = HostTest;

namespace {

const hx::AttributeInfo* findAttribute(const hx::NodeTypeInfo& type, const std::string& name) {
    for (const hx::AttributeInfo& a : type.attributes)
        if (a.longName == name) return &a;
    return nullptr;
}

}  // namespace

TEST_F(Attributes, TypeIntrospectionShowsWhatInitializeCreated) {
    loadTestNodes();
    std::optional<hx::NodeTypeInfo> type = host().nodeType("testLocator");
    ASSERT_TRUE(type);
    EXPECT_EQ(type->id, 0x70002u);
    EXPECT_EQ(type->kind, MPxNode::kLocatorNode);
    EXPECT_EQ(type->plugin, "TestNodes");

    const hx::AttributeInfo* count = findAttribute(*type, "countIn");
    ASSERT_NE(count, nullptr);
    EXPECT_EQ(count->shortName, "ci");
    EXPECT_EQ(count->valueType, "int");
    EXPECT_EQ(count->defaultValue, std::vector<double>{30});
    EXPECT_EQ(count->min, 5.0);
    EXPECT_EQ(count->max, 500.0);
    EXPECT_TRUE(count->keyable);
    EXPECT_TRUE(count->storable);
    EXPECT_FALSE(count->inherited);
    EXPECT_EQ(count->affects, std::vector<std::string>{"countOut"});

    const hx::AttributeInfo* out = findAttribute(*type, "lengthOut");
    ASSERT_NE(out, nullptr);
    EXPECT_FALSE(out->writable);
    EXPECT_FALSE(out->storable);
    EXPECT_FALSE(out->min);

    const hx::AttributeInfo* curve = findAttribute(*type, "curvePoints");
    ASSERT_NE(curve, nullptr);
    EXPECT_EQ(curve->valueType, "vectorArray");
    EXPECT_EQ(curve->dataType, MFnData::kVectorArray);

    const hx::AttributeInfo* matrix = findAttribute(*type, "worldMatrix");
    ASSERT_NE(matrix, nullptr) << "locators carry the DAG attributes";
    EXPECT_TRUE(matrix->inherited);
}

TEST_F(Attributes, DeformersInheritTheBaseAttributes) {
    loadTestNodes();
    std::optional<hx::NodeTypeInfo> type = host().nodeType("testDeformer");
    ASSERT_TRUE(type);
    const hx::AttributeInfo* input = findAttribute(*type, "input");
    ASSERT_NE(input, nullptr);
    EXPECT_TRUE(input->array);
    EXPECT_EQ(input->children, (std::vector<std::string>{"inputGeometry", "groupId"}));
    const hx::AttributeInfo* output = findAttribute(*type, "outputGeometry");
    ASSERT_NE(output, nullptr);
    EXPECT_TRUE(output->array);
    EXPECT_EQ(output->shortName, "og");
    const hx::AttributeInfo* envelope = findAttribute(*type, "envelope");
    ASSERT_NE(envelope, nullptr);
    EXPECT_EQ(envelope->defaultValue, std::vector<double>{1});
    const hx::AttributeInfo* offset = findAttribute(*type, "offset");
    ASSERT_NE(offset, nullptr);
    EXPECT_EQ(offset->affects, std::vector<std::string>{"outputGeometry"});
}

TEST_F(Attributes, NewNodesHoldTheDefaults) {
    loadTestNodes();
    const std::string locator = create("testLocator");
    EXPECT_EQ(get1(locator + ".lengthIn"), 1.0);
    EXPECT_EQ(get1(locator + ".countIn"), 30.0);
    EXPECT_EQ(get1(locator + ".ci"), 30.0) << "short names work too";
    EXPECT_TRUE(get(locator + ".curvePoints").empty());
    const std::string sum = create("testSum");
    EXPECT_EQ(get1(sum + ".inputB"), 2.5);
}

TEST_F(Attributes, SetAttrClampsToTheLimitsAndSaysSo) {
    loadTestNodes();
    const std::string locator = create("testLocator");
    hx::Result result = host().setAttr(locator + ".countIn", 1000);
    ASSERT_TRUE(result) << result.error;
    EXPECT_EQ(get1(locator + ".countIn"), 500.0);
    ASSERT_EQ(result.warnings.size(), 1u);
    EXPECT_NE(result.warnings[0].find("maximum 500"), std::string::npos) << result.warnings[0];

    result = host().setAttr(locator + ".countIn", 2);
    EXPECT_EQ(get1(locator + ".countIn"), 5.0);
    EXPECT_EQ(result.warnings.size(), 1u);

    result = host().setAttr(locator + ".countIn", 42);
    EXPECT_TRUE(result.warnings.empty());
    EXPECT_EQ(get1(locator + ".countIn"), 42.0);

    // Lengths have no limits.
    EXPECT_TRUE(host().setAttr(locator + ".lengthIn", -2.75));
    EXPECT_EQ(get1(locator + ".lengthIn"), -2.75);

    // ...but a float holds no more than a float can: 1e39 is refused, not made infinite.
    result = host().setAttr(locator + ".lengthIn", 1e39);
    EXPECT_FALSE(result);
    EXPECT_NE(result.error.find("out of range for a float attribute"), std::string::npos) << result.error;
    EXPECT_EQ(get1(locator + ".lengthIn"), -2.75);
    EXPECT_TRUE(host().setAttr(locator + ".lengthIn", 3.0e38));
}

TEST_F(Attributes, MisuseFailsClearlyAndChangesNothing) {
    loadTestNodes();
    const std::string sum = create("testSum");
    struct Case {
        std::string plug;
        std::vector<double> values;
        std::string says;
    };
    const Case cases[] = {
        {"nobody.inputA", {1}, "no node named 'nobody'"},
        {sum + ".noSuchAttr", {1}, "no attribute 'noSuchAttr'"},
        {sum + ".sum", {1}, "output"},
        {sum + ".inputA", {1, 2}, "takes 1 value"},
        {sum + ".inputA", {std::nan("")}, "finite"},
        {sum + "inputA", {1}, "not a plug name"},
    };
    for (const Case& c : cases) {
        hx::Result result = host().setAttr(c.plug, c.values);
        EXPECT_FALSE(result) << c.plug;
        EXPECT_NE(result.error.find(c.says), std::string::npos) << result.error;
        EXPECT_EQ(host().lastError(), result.error);
    }
    EXPECT_EQ(get1(sum + ".inputA"), 0.0);
}

TEST_F(Attributes, TransformRotationIsSetInDegrees) {
    const std::string t = create("transform");
    ASSERT_TRUE(host().setAttr(t + ".rotate", {0, 0, 90}));
    EXPECT_NEAR(get(t + ".rotate")[2], 90.0, 1e-12);
    EXPECT_TRUE(host().setAttr(t + ".ty", 3));
    EXPECT_EQ(get(t + ".translate"), (std::vector<double>{0, 3, 0}));
    EXPECT_EQ(get(t + ".scale"), (std::vector<double>{1, 1, 1}));
}

TEST_F(Attributes, FunctionSetsReadBackWhatTheyCreated) {
    MFnNumericAttribute numeric;
    MStatus status;
    MObject attr = numeric.create("weight", "wt", MFnNumericData::kFloat, 0.5, &status);
    ASSERT_TRUE(status);
    numeric.setMin(0.0);
    numeric.setKeyable(true);
    numeric.setStorable(false);
    EXPECT_TRUE(numeric.hasMin());
    EXPECT_FALSE(numeric.hasMax());
    double min = -1;
    EXPECT_TRUE(numeric.getMin(min));
    EXPECT_EQ(min, 0.0);
    float def = 0;
    numeric.getDefault(def);
    EXPECT_EQ(def, 0.5f);
    EXPECT_TRUE(numeric.isKeyable());
    EXPECT_FALSE(numeric.isStorable());
    EXPECT_EQ(numeric.name(), "weight");
    EXPECT_EQ(numeric.unitType(), MFnNumericData::kFloat);

    // A typed attribute's default must be data of its own type.
    MFnTypedAttribute typed;
    MFnNumericData numberData;
    typed.create("points", "pts", MFnData::kVectorArray, numberData.create(MFnNumericData::k3Double), &status);
    EXPECT_EQ(status, MS::kInvalidParameter);
    MFnVectorArrayData arrayData;
    MObject created = typed.create("points", "pts", MFnData::kVectorArray, arrayData.create(), &status);
    EXPECT_TRUE(status);
    EXPECT_EQ(typed.attrType(), MFnData::kVectorArray);

    // Function sets refuse objects of another kind.
    MFnNumericAttribute wrongKind(created, &status);
    EXPECT_EQ(status, MS::kInvalidParameter);
    EXPECT_FALSE(wrongKind.setKeyable(true));
}
