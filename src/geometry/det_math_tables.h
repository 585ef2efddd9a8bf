// Constants of the deterministic trigonometry, as printed by
// det_math_coefficients.sollya (the 2/pi words rewritten in hexadecimal, six a
// line). Regenerate them with that script rather than editing them by hand.
#pragma once

#include <cstdint>

namespace ftv::detmath::detail {

// sin, relative: error below 2^-57.8
inline constexpr double kSin[] = {
    -0x1.5555555555548p-3,
    0x1.111111110f751p-7,
    -0x1.a01a019befb93p-13,
    0x1.71de355c5f14p-19,
    -0x1.ae5e52092adc7p-26,
    0x1.5d8d6e1091e0bp-33,
};
// cos, absolute: error below 2^-64.1
inline constexpr double kCos[] = {
    0x1.555555555554cp-5,
    -0x1.6c16c16c15218p-10,
    0x1.a01a019cbe19dp-16,
    -0x1.27e4f81167081p-22,
    0x1.1ee9f033656fap-29,
    -0x1.8fb080bca7be3p-37,
};
// asin, relative: error below 2^-59.8
inline constexpr double kAsin[] = {
    0x1.5555555555577p-3,
    0x1.333333332e133p-4,
    0x1.6db6db721247bp-5,
    0x1.f1c71a95002f6p-6,
    0x1.6e8bdedebfb72p-6,
    0x1.1c49f077d2818p-6,
    0x1.ca1f8af264013p-7,
    0x1.75859da822552p-7,
    0x1.613c1e9096db8p-7,
    0x1.e5fbe63872ca6p-9,
    0x1.639a8a1bbdd02p-6,
    -0x1.57fad21f83513p-6,
    0x1.0b45ea63b1699p-5,
};
// atan, relative: error below 2^-57.6
inline constexpr double kAtan[] = {
    -0x1.555555555550bp-2,
    0x1.999999998e7edp-3,
    -0x1.2492491ff3801p-3,
    0x1.c71c6fdb34d7cp-4,
    -0x1.745cdba72b17ap-4,
    0x1.3b0f2086d058p-4,
    -0x1.10d603345d55ep-4,
    0x1.ddddc2631b84dp-5,
    -0x1.97a0d5e363a32p-5,
    0x1.2b185f24fb7e2p-5,
    -0x1.0a7ffbf530c13p-6,
};
inline constexpr double kPio2Hi = 0x1.921fb54442d18p0;
inline constexpr double kPio2Lo = 0x1.1a62633145c07p-54;
inline constexpr double kPiHi = 0x1.921fb54442d18p1;
inline constexpr double kPiLo = 0x1.1a62633145c07p-53;
inline constexpr double kAtanHalfHi = 0x1.dac670561bb4fp-2;
inline constexpr double kAtanHalfLo = 0x1.a2b7f222f65e2p-56;
inline constexpr double kAtanThreeHalvesHi = 0x1.f730bd281f69bp-1;
inline constexpr double kAtanThreeHalvesLo = 0x1.007887af0cbbdp-56;
inline constexpr double kPio4 = 0x1.921fb54442d18p-1;
inline constexpr double k3Pio4 = 0x1.2d97c7f3321d2p1;
inline constexpr double kTwoOverPi = 0x1.45f306dc9c883p-1;
inline constexpr double kPio2Part[4] = {0x1.921fb544p0, 0x1.0b4611a6p-34, 0x1.3198a2ep-69, 0x1.b839a252049c1p-104};

// The binary fraction of 2/pi, 32 bits a word, most significant first: the
// large-argument reduction reads the window of it that a given exponent needs.
inline constexpr std::uint32_t kTwoOverPiBits[40] = {
    0xA2F9836Eu, 0x4E441529u, 0xFC2757D1u, 0xF534DDC0u, 0xDB629599u, 0x3C439041u,
    0xFE5163ABu, 0xDEBBC561u, 0xB7246E3Au, 0x424DD2E0u, 0x06492EEAu, 0x09D1921Cu,
    0xFE1DEB1Cu, 0xB129A73Eu, 0xE88235F5u, 0x2EBB4484u, 0xE99C7026u, 0xB45F7E41u,
    0x3991D639u, 0x835339F4u, 0x9C845F8Bu, 0xBDF9283Bu, 0x1FF897FFu, 0xDE05980Fu,
    0xEF2F118Bu, 0x5A0A6D1Fu, 0x6D367ECFu, 0x27CB09B7u, 0x4F463F66u, 0x9E5FEA2Du,
    0x7527BAC7u, 0xEBE5F17Bu, 0x3D0739F7u, 0x8A5292EAu, 0x6BFB5FB1u, 0x1F8D5D08u,
    0x56033046u, 0xFC7B6BABu, 0xF0CFBC20u, 0x9AF4361Du,
};

}  // namespace ftv::detmath::detail
