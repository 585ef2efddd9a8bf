// A small scene for the update pass, one for the Linux build and for the
// platform-ABI host alike: the eye, and for each tagged part the matrix the
// host reports for it and its marker's centre, with what the Linux build makes
// of them: the direction the pass hands to HostScene::rotation_between, the
// rotation the reference host answers, and the transformation the part then
// receives. facing_expectations_test checks every value against the Linux
// build; the platform-ABI host expects the shipped DLL to give the same bits.
//
// Plain C data: included by the g++ test and by the freestanding host.
#pragma once

struct FacingCase {
    float world[4][4];           // HostShape::local_to_world of the part
    float center[3];             // HostCenterObject::center of its marker
    float direction[3];          // the direction handed to rotation_between
    float turn[4][4];            // the reference host's rotation_between
    float transformation[4][4];  // HostShape::set_transformation of the part
};

static const float kFacingEye[3] = {4.0f, 5.0f, 10.0f};

enum { kFacingCaseCount = 2 };

// Case 0: a part turned about Y (cosine 0.6), scaled by 2 and moved, held by
// an untagged part. Case 1: a part in the root with its marker off centre.
static const FacingCase kFacingCases[kFacingCaseCount] = {
    {{{1.2f, 0.0f, -1.6f, 0.0f}, {0.0f, 2.0f, 0.0f, 0.0f}, {1.6f, 0.0f, 1.2f, 0.0f}, {1.0f, -2.0f, 0.5f, 1.0f}},
     {0.5f, 1.0f, -0.25f},
     {0x1.dbe34ep-3f, 0x1.a8e662p-2f, 0x1.c264d8p-1f},
     {{0x1.f14ae6p-1f, -0x1.a43646p-5f, -0x1.dbe34ep-3f, 0x0p+0f},
      {-0x1.a43646p-5f, 0x1.d119f2p-1f, -0x1.a8e662p-2f, 0x0p+0f},
      {0x1.dbe34ep-3f, 0x1.a8e662p-2f, 0x1.c264d8p-1f, 0x0p+0f},
      {0x0p+0f, 0x0p+0f, 0x0p+0f, 0x1p+0f}},
     {{0x1.898d98p-1f, -0x1.a43646p-5f, 0x1.46736cp-1f, 0x0p+0f},
      {0x1.34677p-2f, 0x1.d119f2p-1f, -0x1.28f60ep-2f, 0x0p+0f},
      {-0x1.20ee94p-1f, 0x1.a8e662p-2f, 0x1.6d69f6p-1f, 0x0p+0f},
      {-0x1.4e6c54p-2f, 0x1.c4923p-3f, -0x1.9b2194p-4f, 0x1p+0f}}},
    {{{1.0f, 0.0f, 0.0f, 0.0f}, {0.0f, 1.0f, 0.0f, 0.0f}, {0.0f, 0.0f, 1.0f, 0.0f}, {0.0f, 0.0f, 0.0f, 1.0f}},
     {1.0f, 2.0f, 3.0f},
     {0x1.774df8p-2f, 0x1.774df8p-2f, 0x1.b5daf6p-1f},
     {{0x1.daed7ap-1f, -0x1.28943p-4f, -0x1.774df6p-2f, 0x0p+0f},
      {-0x1.28943p-4f, 0x1.daed7ap-1f, -0x1.774df6p-2f, 0x0p+0f},
      {0x1.774df6p-2f, 0x1.774df6p-2f, 0x1.b5daf4p-1f, 0x0p+0f},
      {0x0p+0f, 0x0p+0f, 0x0p+0f, 0x1p+0f}},
     {{0x1.daed7ap-1f, -0x1.28943p-4f, -0x1.774df6p-2f, 0x0p+0f},
      {-0x1.28943p-4f, 0x1.daed7ap-1f, -0x1.774df6p-2f, 0x0p+0f},
      {0x1.774df6p-2f, 0x1.774df6p-2f, 0x1.b5daf4p-1f, 0x0p+0f},
      {-0x1.c3bd6p-1f, -0x1.c3bd6p-1f, 0x1.88b20ap+0f, 0x1p+0f}}},
};
