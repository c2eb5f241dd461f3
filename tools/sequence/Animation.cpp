#include "Animation.h"

#include "ValueParse.h"

#include <cmath>

namespace hx {

Animation::Animation(const std::vector<Key>& keys, Tangents tangents, const ResolveKey& resolve)
{
    for (const Key& key : keys) {
        const std::vector<KeyedNumber> numbers = resolve(key);
        if (numbers.size() != key.values.size())
            throw UsageError("--key " + keyText(key) + ": " + key.plugName() + " takes " +
                             std::to_string(numbers.size()) + " value" + (numbers.size() == 1 ? "" : "s") + ", got " +
                             std::to_string(key.values.size()));
        for (std::size_t i = 0; i < numbers.size(); ++i) {
            const auto [at, added] = mIndex.emplace(numbers[i].plug, mChannels.size());
            if (added) mChannels.push_back(Channel{numbers[i].plug, numbers[i].integer, KeyCurve(tangents), {}});
            Channel& channel = mChannels[at->second];
            if (!channel.curve.addKey(key.frame, key.values[i])) {
                std::string earlier;
                for (const auto& [frame, text] : channel.keyTexts)
                    if (frame == key.frame) earlier = text;
                throw UsageError("two keys on " + channel.plug + " at frame " + std::to_string(key.frame) + ": " +
                                 earlier + " and " + keyText(key));
            }
            channel.keyTexts.emplace_back(key.frame, keyText(key));
        }
    }
}

const Animation::Channel* Animation::find(const std::string& plug) const
{
    const auto at = mIndex.find(plug);
    return at == mIndex.end() ? nullptr : &mChannels[at->second];
}

double Animation::valueAt(std::size_t channel, double time) const
{
    const Channel& c = mChannels.at(channel);
    const double value = c.curve.valueAt(time);
    return c.integer ? std::round(value) : value;
}

std::vector<double> Animation::valuesAt(double time) const
{
    std::vector<double> values(mChannels.size());
    for (std::size_t i = 0; i < mChannels.size(); ++i) values[i] = valueAt(i, time);
    return values;
}

bool Animation::isKeyed(const std::string& plug) const
{
    return find(plug) != nullptr;
}

void Animation::checkNotKeyed(const std::string& what, const std::vector<std::string>& plugs) const
{
    for (const std::string& plug : plugs)
        if (const Channel* channel = find(plug))
            throw UsageError(what + ": " + plug + " is keyed (--key " + channel->keyTexts.front().second +
                             "); a keyed attribute takes its values from its keys, so key it instead");
}

} // namespace hx
