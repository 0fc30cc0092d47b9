// The 16-bit conversion of an export: triangular dither of one step, rounding
// to the nearest step, held within range, the same bytes every time.
#include "treatment/export/dither16.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

using helicordia::Dither16;

namespace {

std::vector<short> converted(const std::vector<float> &in, std::size_t chunk)
{
    std::vector<short> out(in.size());
    Dither16 dither;
    for (std::size_t i = 0; i < in.size(); i += chunk)
        dither.convert(in.data() + i, out.data() + i, std::min(chunk, in.size() - i));
    return out;
}

TEST(Dither16, ErrorIsTriangularDitherPlusRounding)
{
    std::vector<float> in(200000);
    for (std::size_t i = 0; i < in.size(); ++i)
        in[i] = float(0.9 * std::sin(0.0007 * double(i)));
    const std::vector<short> out = converted(in, 8192);
    double sum = 0, squares = 0, worst = 0;
    for (std::size_t i = 0; i < in.size(); ++i) {
        const double error = out[i] - double(in[i]) * 32767.0;
        sum += error;
        squares += error * error;
        worst = std::max(worst, std::fabs(error));
    }
    const double n = double(in.size());
    EXPECT_NEAR(sum / n, 0.0, 0.01);
    EXPECT_NEAR(squares / n, 1.0 / 6 + 1.0 / 12, 0.01); // the dither's variance and the rounding's
    EXPECT_LE(worst, 1.5);
    EXPECT_GT(worst, 1.2);
}

TEST(Dither16, SamplesBeyondFullScaleAreHeldWithinRange)
{
    const std::vector<float> in = {1.0f, -1.0f, 1.01f, -1.01f, 7.0f, -7.0f, 1e30f, -1e30f};
    Dither16 dither;
    std::vector<short> out(in.size());
    for (int round = 0; round < 50; ++round) {
        dither.convert(in.data(), out.data(), in.size());
        EXPECT_GE(out[0], 32766);
        EXPECT_LE(out[1], -32766);
        for (std::size_t i = 2; i < in.size(); ++i)
            EXPECT_EQ(out[i], in[i] > 0 ? 32767 : -32768) << i;
    }
}

TEST(Dither16, SameSamplesGiveTheSameBytesInAnyBlocksOfSixteen)
{
    std::vector<float> in(50000);
    for (std::size_t i = 0; i < in.size(); ++i)
        in[i] = float(0.3 * std::sin(0.01 * double(i)));
    const std::vector<short> whole = converted(in, in.size());
    EXPECT_EQ(converted(in, 8192), whole);
    EXPECT_EQ(converted(in, 16 * 37), whole);
    EXPECT_NE(whole, std::vector<short>(in.size())) << "not all silence";
}

} // namespace
