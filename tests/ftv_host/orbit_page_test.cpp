// The orbit page in a real browser (headless chromium, drawing WebGL through
// SwiftShader): it runs with no script error, draws the scene, and at each
// step asked for, the world matrices its own three.js computes from the
// baked animation turn every upright and exact part toward the eye.
#include <ImathMatrix.h>
#include <png.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <set>
#include <sstream>

#include "case_names.h"
#include "host_run.h"

namespace {

using namespace ftv_cli_testing;
using Imath::M44d;
using Imath::V3d;

struct Page {
    std::string dom;
    std::string errors;  // the browser's log, with the page's console
    std::string attribute(const std::string& name) const {
        const std::string key = " " + name + "=\"";
        const auto at = dom.find(key, 0);
        if (at == std::string::npos || at > dom.find("<head>")) return "";
        const auto start = at + key.size();
        return dom.substr(start, dom.find('"', start) - start);
    }
};

// The page's DOM once its scripts ran, and a screenshot of it.
Page load(const std::string& folder, const std::string& file, const std::string& fragment, const std::string& shot) {
    const std::string errors = folder + "/chromium.log";
    const HostRun run = run_program(
        "chromium",
        {"--headless=new", "--no-sandbox", "--use-angle=swiftshader", "--enable-unsafe-swiftshader",
         "--disable-background-networking", "--disable-component-update", "--disable-sync", "--no-first-run",
         "--user-data-dir=" + folder + "/profile", "--enable-logging=stderr", "--v=0", "--virtual-time-budget=10000",
         "--window-size=1400,900", "--screenshot=" + shot, "--dump-dom", "file://" + file + fragment},
        "", errors);
    EXPECT_EQ(run.exit_code, 0) << read_text(errors);
    return {run.output, read_text(errors)};
}

// How many colours the screenshot has in rows 300 to 700, well inside the
// drawing (below the page's text, whose smoothed edges bring colours of
// their own), read by libpng.
std::size_t colours_drawn(const std::string& png_file) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, png_file.c_str())) return 0;
    image.format = PNG_FORMAT_RGB;
    std::vector<unsigned char> pixels(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr)) return 0;
    std::set<unsigned> colours;
    const std::size_t row = image.width * 3;
    for (std::size_t i = 300 * row; i + 2 < std::min<std::size_t>(pixels.size(), 700 * row); i += 3)
        colours.insert(unsigned(pixels[i]) << 16 | unsigned(pixels[i + 1]) << 8 | pixels[i + 2]);
    return colours.size();
}

double degrees_between(const V3d& a, const V3d& b) {
    return std::atan2((a % b).length(), a ^ b) * 180 / M_PI;
}

struct PageCase {
    const char* what;
    std::string fragment;
    int first, last;  // the steps the page may show by then
};

const PageCase kCases[] = {
    {"at the first step", "#step=1", 1, 1},
    {"a third of the way", "#step=12", 12, 12},
    {"at its end", "#step=36", 36, 36},
    // Steps follow a timer, which the browser's virtual time runs to the end.
    {"played to its end", "#play", 36, 36},
};

void PrintTo(const PageCase& c, std::ostream* out) { *out << c.what; }

class OrbitPage : public ::testing::TestWithParam<PageCase> {};

TEST_P(OrbitPage, DrawsAndTurnsEveryUprightAndExactPartTowardTheEye) {
    const PageCase& c = GetParam();
    const std::string folder = fresh_folder("orbit_page_" + testing_support::case_name(c.what));
    const HostRun run = run_host({"--orbit", "36", "--out", folder});
    ASSERT_EQ(run.exit_code, 0) << run.output;
    const Page page = load(folder, folder + "/orbit.html", c.fragment, folder + "/shot.png");
    EXPECT_EQ(page.attribute("data-ready"), "yes") << "the script ran to its end";
    EXPECT_EQ(page.attribute("data-script-errors"), "");
    EXPECT_EQ(page.errors.find("Uncaught"), std::string::npos) << page.errors;
    const int frame = std::stoi("0" + page.attribute("data-frame"));
    EXPECT_TRUE(frame >= c.first && frame <= c.last) << frame;
    EXPECT_GT(colours_drawn(folder + "/shot.png"), 20u) << "a blank page";

    // The eye, then per turned part: its tag, its world matrix column by column, its pivot.
    std::istringstream world(page.attribute("data-world"));
    V3d eye;
    ASSERT_TRUE(world >> eye.x >> eye.y >> eye.z);
    int checked = 0, tag = 0;
    while (world >> tag) {
        // Column by column for column vectors is row by row for Imath's row vectors.
        M44d m;
        for (int i = 0; i < 16; ++i) world >> m[i / 4][i % 4];
        V3d pivot, facing, up;
        ASSERT_TRUE(world >> pivot.x >> pivot.y >> pivot.z);
        m.multDirMatrix(V3d(0, 0, 1), facing);
        m.multDirMatrix(V3d(0, 1, 0), up);
        const V3d to_eye = eye - pivot;
        if (tag == 2) {
            EXPECT_LT(degrees_between(V3d(facing.x, 0, facing.z), V3d(to_eye.x, 0, to_eye.z)), 0.1) << checked;
            EXPECT_LT(degrees_between(up, V3d(0, 1, 0)), 0.1) << checked;
        } else if (tag == 3) {
            EXPECT_LT(degrees_between(facing, to_eye), 0.1) << checked;
        }
        checked += tag == 2 || tag == 3;
    }
    EXPECT_GE(checked, 2) << "the demo's upright tree and exact sign at least";
}

INSTANTIATE_TEST_SUITE_P(Table, OrbitPage, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return testing_support::case_name(info.param.what); });

// The checks above would see a failing script: a page whose script breaks.
TEST(OrbitPageScript, AnErrorWouldBeSeen) {
    const std::string folder = fresh_folder("orbit_page_broken");
    ASSERT_EQ(run_host({"--orbit", "2", "--out", folder}).exit_code, 0);
    std::string html = read_text(folder + "/orbit.html");
    const std::string script = "<script id=\"page-script\">";
    const auto at = html.find(script);
    ASSERT_NE(at, std::string::npos);
    html.insert(at + script.size(), "null.missing();");
    write_text(folder + "/broken.html", html);
    const Page page = load(folder, folder + "/broken.html", "", folder + "/shot.png");
    EXPECT_EQ(page.attribute("data-ready"), "");
    EXPECT_EQ(page.attribute("data-script-errors"), "1");
}

}  // namespace
