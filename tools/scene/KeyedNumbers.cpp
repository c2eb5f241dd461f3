#include "KeyedNumbers.h"

#include "AttributeEdit.h"
#include "NumberText.h"
#include "ValueParse.h"

namespace hx {

bool isIntegerAttribute(const AttributeInfo& attribute)
{
    const std::string& t = attribute.valueType;
    return t == "bool" || t == "byte" || t == "char" || t == "enum" || t.compare(0, 5, "short") == 0 ||
           t.compare(0, 3, "int") == 0 || t.compare(0, 4, "long") == 0;
}

std::vector<KeyedNumber> keyedNumbers(const Host& host, const Key& key)
{
    if (key.attribute.find_first_of("[.") != std::string::npos)
        throw UsageError(key.plugName() +
                         ": keys go on a node's own attributes, not on array elements or "
                         "their children");
    const NamedPlug plug = findPlug(host, key.node, key.attribute);
    const bool compound = plug.attribute.kind == "compound";
    if (plug.components.empty() || (!compound && plug.components.size() != 1))
        throw UsageError(plug.name + " (" + plug.attribute.valueType +
                         ") cannot be keyed: a key moves numbers "
                         "that are set one at a time");

    AttributeSetting setting{key.node, key.attribute, formatNumbers(key.values), key.parts, key.values};
    settingValues(plug, setting); // throws for a count or a value the attribute cannot take

    std::vector<KeyedNumber> numbers;
    for (const AttributeInfo& component : plug.components)
        numbers.push_back({key.node + "." + component.longName, isIntegerAttribute(component)});
    return numbers;
}

} // namespace hx
