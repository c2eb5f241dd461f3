// Checking that the tool's parsers refuse a typed text with a UsageError that says why.
#pragma once

#include "ValueParse.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace hxtest {

// Runs `call` on `text`, which should be refused: the refusal's message, or nothing (and a
// test failure) where the text was accepted.
template <class Call>
std::optional<std::string> refusal(const std::string& text, Call call)
{
    try {
        call();
        ADD_FAILURE() << text << " was accepted";
    } catch (const hx::UsageError& error) {
        return std::string(error.what());
    }
    return std::nullopt;
}

// `text` is refused with a message that holds `fragment`.
template <class Call>
void expectRefusal(const std::string& text, const std::string& fragment, Call call)
{
    if (const auto message = refusal(text, call)) {
        EXPECT_NE(message->find(fragment), std::string::npos) << text << ": " << *message;
    }
}

} // namespace hxtest
