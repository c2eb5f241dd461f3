// The private random sequence behind the noise tables: it must be glibc's rand()
// sequence, and table builds must neither read nor disturb the process-wide state.
#include "PerlinTableReader.h"
#include "seededRandom.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <thread>
#include <vector>

namespace {

TEST(SeededRandom, YieldsTheSameSequenceAsSrandAndRand)
{
    for (unsigned int seed : {0u, 1u, 2u, 7u, 1047u, 123456789u, 2147483647u, 4294967295u}) {
        SCOPED_TRACE(seed);
        SeededRandom random(seed);
        std::srand(seed);
        for (int i = 0; i < 8000; ++i) ASSERT_EQ(random.next(), std::rand()) << "value " << i;
    }
}

TEST(SeededRandom, LeavesTheProcessWideGeneratorAlone)
{
    std::srand(99);
    const int expectedFirst = std::rand();
    const int expectedSecond = std::rand();

    std::srand(99);
    EXPECT_EQ(std::rand(), expectedFirst);
    builtPerlin(5); // a whole table build between two rand() calls
    EXPECT_EQ(std::rand(), expectedSecond);
}

bool sameTables(const Perlin& a, const Perlin& b)
{
    const PerlinTableReader x(a), y(b);
    for (int k = 0; k < PerlinTableReader::kEntries; ++k) {
        if (x.p(k) != y.p(k) || floatBits(x.g1(k)) != floatBits(y.g1(k))) return false;
        for (int c = 0; c < 2; ++c)
            if (floatBits(x.g2(k, c)) != floatBits(y.g2(k, c))) return false;
        for (int c = 0; c < 3; ++c)
            if (floatBits(x.g3(k, c)) != floatBits(y.g3(k, c))) return false;
    }
    return true;
}

TEST(SeededRandom, TableBuildsOnManyThreadsEqualBuildsAlone)
{
    constexpr int kThreads = 8;
    constexpr int kRounds = 20;
    std::vector<Perlin> alone;
    for (int t = 0; t < kThreads; ++t) alone.push_back(builtPerlin(100 + t));

    std::atomic<bool> stop(false);
    std::thread randCaller([&] {
        while (!stop.load()) std::rand();
    });

    std::atomic<int> mismatches(0);
    std::vector<std::thread> builders;
    for (int t = 0; t < kThreads; ++t)
        builders.emplace_back([&, t] {
            for (int round = 0; round < kRounds; ++round)
                if (!sameTables(builtPerlin(100 + t), alone[t])) ++mismatches;
        });
    for (std::thread& builder : builders) builder.join();
    stop = true;
    randCaller.join();

    EXPECT_EQ(mismatches.load(), 0);
}

} // namespace
