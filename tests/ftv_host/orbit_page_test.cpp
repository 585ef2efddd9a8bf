// The orbit page in a real browser (headless chromium): stepping the slider
// shows each step's drawings, play moves on by itself, and no script fails.
#include <gtest/gtest.h>

#include <filesystem>

#include "host_run.h"

namespace {

using namespace ftv_cli_testing;

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
    // What the page shows: the pictures copied into view.
    std::string views() const {
        const auto start = dom.find("<div id=\"views\">");
        if (start == std::string::npos) return "";
        return dom.substr(start, dom.find("</div>", start) - start);
    }
};

class OrbitPage : public ::testing::Test {
protected:
    // A folder per test, since CTest may run them side by side.
    void SetUp() override {
        folder_ = fresh_folder(std::string("orbit_page_") + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        const HostRun run = run_host({"--orbit", "36", "--out", folder_});
        ASSERT_EQ(run.exit_code, 0) << run.output;
        ASSERT_TRUE(std::filesystem::exists(folder_ + "/orbit.html"));
    }

    // The page's DOM once its scripts ran (and, with time, its timers).
    Page load(const std::string& file, const std::string& fragment, int milliseconds = 500) const {
        const std::string profile = folder_ + "/profile-" + std::to_string(++loads_);
        const std::string errors = folder_ + "/chromium.log";
        const HostRun run = run_program(
            "chromium",
            {"--headless", "--no-sandbox", "--disable-gpu", "--disable-background-networking",
             "--disable-component-update", "--disable-sync", "--no-first-run", "--user-data-dir=" + profile,
             "--enable-logging=stderr", "--v=0", "--virtual-time-budget=" + std::to_string(milliseconds),
             "--dump-dom", "file://" + file + fragment},
            "", errors);
        EXPECT_EQ(run.exit_code, 0) << read_text(errors);
        return {run.output, read_text(errors)};
    }
    std::string page() const { return folder_ + "/orbit.html"; }
    std::string folder_;
    mutable int loads_ = 0;
};

void expect_no_script_errors(const Page& page) {
    EXPECT_EQ(page.attribute("data-ready"), "yes") << "the script ran to its end";
    EXPECT_EQ(page.attribute("data-script-errors"), "");
    EXPECT_EQ(page.errors.find("Uncaught"), std::string::npos) << page.errors;
}

TEST_F(OrbitPage, SteppingShowsEachStepsDrawings) {
    const Page first = load(page(), "#step=0");
    const Page fifth = load(page(), "#step=5");
    const Page last = load(page(), "#step=36");
    for (const Page* p : {&first, &fifth, &last}) expect_no_script_errors(*p);
    EXPECT_EQ(first.attribute("data-frame"), "0");
    EXPECT_EQ(fifth.attribute("data-frame"), "5");
    EXPECT_EQ(last.attribute("data-frame"), "36");
    // Each step shows both views, and the drawing changes from step to step.
    for (const Page* p : {&first, &fifth, &last}) {
        const std::string views = p->views();
        std::size_t pictures = 0;
        for (auto at = views.find("<svg xmlns"); at != std::string::npos; at = views.find("<svg xmlns", at + 1)) ++pictures;
        EXPECT_EQ(pictures, 2u);
    }
    EXPECT_NE(first.views(), fifth.views());
    EXPECT_NE(fifth.views(), last.views());
}

TEST_F(OrbitPage, PlayMovesOnByItself) {
    const Page played = load(page(), "#play", 3000);
    expect_no_script_errors(played);
    EXPECT_GT(std::stoi("0" + played.attribute("data-frame")), 3);
    EXPECT_NE(played.views(), load(page(), "#step=0").views());
}

// The checks above would see a failing script: a page whose script is broken.
TEST_F(OrbitPage, AScriptErrorWouldBeSeen) {
    std::string html = read_text(page());
    const std::string first_show = "\n  show(0);\n";
    const auto at = html.find(first_show);
    ASSERT_NE(at, std::string::npos);
    html.replace(at, first_show.size(), "\n  show(0).missing();\n");
    const std::string broken = folder_ + "/broken.html";
    write_text(broken, html);
    const Page page = load(broken, "");
    EXPECT_EQ(page.attribute("data-ready"), "");
    EXPECT_EQ(page.attribute("data-script-errors"), "1");
}

}  // namespace
