#include "KeyedPlugs.h"

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
    const NamedPlug plug = findPlug(host, key.node, key.attribute);
    const bool compound = plug.attribute.kind == "compound";
    if (plug.components.empty() || (!compound && plug.components.size() != 1))
        throw UsageError("--key " + keyText(key) + ": " + plug.name + " (" + plug.attribute.valueType +
                         ") holds no numbers that can be keyed one by one");
    // The values as a --set of them would take them: the count, whole numbers for integers.
    AttributeSetting setting{key.node, key.attribute, "", key.parts, key.values};
    for (std::size_t i = 0; i < key.parts.size(); ++i) setting.text += (i ? "," : "") + key.parts[i];
    settingValues(plug, setting);

    std::vector<KeyedNumber> numbers;
    if (compound)
        for (const AttributeInfo& child : plug.components)
            numbers.push_back({key.node + "." + child.longName, isIntegerAttribute(child)});
    else
        numbers.push_back({longPlugName(plug), isIntegerAttribute(plug.attribute)});
    return numbers;
}

std::vector<std::string> numberPlugs(const NamedPlug& plug)
{
    const std::string node = plug.name.substr(0, plug.name.find('.'));
    std::vector<std::string> plugs;
    if (plug.attribute.kind == "compound")
        for (const AttributeInfo& child : plug.components) plugs.push_back(node + "." + child.longName);
    else
        plugs.push_back(longPlugName(plug));
    return plugs;
}

}  // namespace hx
