#include "Attribute.h"

#include "Value.h"

#include <algorithm>

namespace hx {

Attribute::Attribute(AttrKind kind, std::string name, std::string shortName)
    : mKind(kind), mName(std::move(name)), mShortName(std::move(shortName)) {
    // The host's flags for a new attribute.
    std::fill(std::begin(mFlags), std::end(mFlags), false);
    for (Flag on :
         {Flag::Storable, Flag::Readable, Flag::Writable, Flag::Connectable, Flag::Cached, Flag::IndexMatters})
        mFlags[static_cast<int>(on)] = true;
}

namespace {

// The kind the host gives a compound of two or three numbers made as one.
MFn::Type numericCompoundType(MFnNumericData::Type type) {
    switch (type) {
    case MFnNumericData::k2Short: return MFn::kAttribute2Short;
    case MFnNumericData::k2Int: return MFn::kAttribute2Int;
    case MFnNumericData::k2Float: return MFn::kAttribute2Float;
    case MFnNumericData::k2Double: return MFn::kAttribute2Double;
    case MFnNumericData::k3Short: return MFn::kAttribute3Short;
    case MFnNumericData::k3Int: return MFn::kAttribute3Int;
    case MFnNumericData::k3Float: return MFn::kAttribute3Float;
    case MFnNumericData::k3Double: return MFn::kAttribute3Double;
    default: return MFn::kCompoundAttribute;
    }
}

// How many multis, at the most, lie below `attribute` on the way to one of its descendants.
int deepestArrayBelow(const Attribute* attribute) {
    int deepest = 0;
    for (const Attribute* a : attribute->subtree())
        deepest = std::max(deepest, a->arrayDepth() - attribute->arrayDepth());
    return deepest;
}

Error tooDeep(const std::string& name) {
    return Error::invalid("'" + name + "': multis nest at most " + std::to_string(Attribute::kMaxArrayDepth) +
                          " deep in this host");
}

}  // namespace

MFn::Type Attribute::apiType() const {
    switch (mKind) {
    case AttrKind::Numeric:
        if (mEnum) return MFn::kEnumAttribute;
        return mUnit == Unit::Scalar ? MFn::kNumericAttribute : MFn::kUnitAttribute;
    case AttrKind::Typed: return MFn::kTypedAttribute;
    case AttrKind::Matrix: return MFn::kMatrixAttribute;
    case AttrKind::Compound: return numericCompoundType(mNumericType);
    case AttrKind::Message: return MFn::kMessageAttribute;
    }
    return MFn::kAttribute;
}

int Attribute::numericWidth() const {
    if (mKind == AttrKind::Numeric) return componentCount(mNumericType);
    if (mKind != AttrKind::Compound || mChildren.empty()) return 0;
    for (const auto& child : mChildren)
        if (child->mKind != AttrKind::Numeric || componentCount(child->mNumericType) != 1) return 0;
    return static_cast<int>(mChildren.size());
}

Error Attribute::addEnumField(const std::string& name, short index) {
    if (name.empty()) return Error::invalid("an enum field needs a name");
    for (const auto& [value, field] : mEnumFields) {
        if (field == name) return Error::invalid("'" + mName + "' already has a field named '" + name + "'");
        if (value == index)
            return Error::invalid("'" + mName + "' already has field '" + field + "' at " + std::to_string(index));
    }
    mEnumFields.emplace_back(index, name);
    return Error();
}

void Attribute::setDefault(int count, const double values[]) {
    for (int i = 0; i < count && i < 3; ++i) mDefault[i] = values[i];
}

double Attribute::limit(Limit which, int component) const {
    return component >= 0 && component < 3 ? mLimit[static_cast<int>(which)][component] : 0.0;
}

void Attribute::setLimit(Limit which, int count, const double values[]) {
    const int w = static_cast<int>(which);
    mHasLimit[w] = true;
    for (int i = 0; i < count && i < 3; ++i) mLimit[w][i] = values[i];
}

Error Attribute::setFlag(Flag which, bool state) {
    // Plugs of a type's attributes already exist; their shape cannot change under them.
    if (which == Flag::Array && mAdded && state != isArray())
        return Error::failure("'" + mName + "' already belongs to a node type; it cannot become a multi");
    if (which == Flag::Array && state && !isArray() && arrayDepth() + 1 + deepestArrayBelow(this) > kMaxArrayDepth)
        return tooDeep(mName);
    mFlags[static_cast<int>(which)] = state;
    return Error();
}

Error Attribute::addChild(const Ref<Attribute>& child) {
    if (!child) return Error::invalid("the child is not an attribute");
    if (mKind != AttrKind::Compound) return Error::invalid("'" + mName + "' is not a compound");
    if (mAdded) return Error::failure("'" + mName + "' already belongs to a node type; its children are fixed");
    if (child->mParent)
        return Error::invalid("'" + child->mName + "' is already a child of '" + child->mParent->mName + "'");
    if (child->mAdded) return Error::invalid("'" + child->mName + "' already belongs to a node type");
    for (const Attribute* a = this; a; a = a->mParent)
        if (a == child.get()) return Error::invalid("'" + child->mName + "' cannot be a child of itself");
    for (const auto& known : mChildren)
        if (known->matches(child->mName) || known->matches(child->mShortName))
            return Error::invalid("'" + mName + "' already has a child named '" + known->mName + "'");
    // The child's own multis count from it (it has no parent yet).
    if (arrayDepth() + child->arrayDepth() + deepestArrayBelow(child.get()) > kMaxArrayDepth)
        return tooDeep(child->mName);
    child->mParent = this;
    mChildren.push_back(child);
    return Error();
}

Error Attribute::removeChild(const Attribute* child) {
    if (mAdded) return Error::failure("'" + mName + "' already belongs to a node type; its children are fixed");
    auto it =
        std::find_if(mChildren.begin(), mChildren.end(), [child](const Ref<Attribute>& c) { return c.get() == child; });
    if (it == mChildren.end()) return Error::invalid("the attribute is not a child of '" + mName + "'");
    (*it)->mParent = nullptr;
    mChildren.erase(it);
    return Error();
}

std::vector<const Attribute*> Attribute::arrayChain() const {
    std::vector<const Attribute*> chain;
    for (const Attribute* a = this; a; a = a->mParent)
        if (a->isArray()) chain.insert(chain.begin(), a);
    return chain;
}

int Attribute::arrayDepth() const {
    int depth = 0;
    for (const Attribute* a = this; a; a = a->mParent) depth += a->isArray() ? 1 : 0;
    return depth;
}

std::vector<const Attribute*> Attribute::subtree() const {
    std::vector<const Attribute*> all{this};
    for (size_t i = 0; i < all.size(); ++i)
        for (const auto& child : all[i]->mChildren) all.push_back(child.get());
    return all;
}

void Attribute::setAdded(bool added) {
    for (const Attribute* a : subtree()) const_cast<Attribute*>(a)->mAdded = added;
}

}  // namespace hx
