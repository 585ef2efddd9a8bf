// Faults users met running ftv-host on files of their own, one case each: a
// failed run must leave every earlier output alone, what ftv-host writes must
// read back, the command line must refuse what a file refuses, errors must
// say what is wrong, and the summary must give the switch the plug-in obeys.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>

#include "case_names.h"
#include "host_run.h"

namespace {

using namespace ftv_cli_testing;
namespace fs = std::filesystem;

struct Fault {
    const char* what;
    // Prepares the folder and gives the arguments and the file for standard input.
    std::function<std::vector<std::string>(const std::string& folder, std::string& input)> arrange;
    int exit_code;
    std::function<void(const std::string& folder, const HostRun& run)> check;
};

std::string scene_with(const std::string& folder, const std::string& text) {
    write_text(folder + "/scene.json", text);
    return folder + "/scene.json";
}

// The words after the last ": " of a one-line error message.
std::string fault_words(const std::string& output) {
    const std::string line = output.substr(0, output.find('\n'));
    return line.substr(line.rfind(": ") + 2);
}

// A number the command line refuses in its own words, which name the option,
// the value and the text typed, not in the words a scene file's eye gets.
Fault eye_refused_in_command_line_words(const char* what, const std::string& number) {
    return {what,
            [number](const std::string&, std::string&) {
                return std::vector<std::string>{"--scene", data_file("billboards.json"), "--eye", "1", number, "2"};
            },
            1,
            [number](const std::string& folder, const HostRun& run) {
                const std::string file = scene_with(folder, R"({"camera": {"eye": [1, )" + number + R"(, 2]}, "root": {}})");
                const HostRun from_file = run_host({"--scene", file, "--out", folder + "/out"});
                EXPECT_EQ(from_file.exit_code, 1) << from_file.output;
                EXPECT_EQ(run.output.rfind("ftv-host: --eye: value 2: \"" + number + "\" ", 0), 0u) << run.output;
                EXPECT_EQ(run.output.find('\n'), run.output.size() - 1) << run.output;
                EXPECT_NE(fault_words(run.output), fault_words(from_file.output)) << from_file.output;
            }};
}

// An input error or warning, in the form of every other: where, then what;
// and, for a run that goes on, the written scene when a check is given.
Fault told(const char* what, std::vector<std::string> arguments, int exit_code, std::string starts, std::string also,
           std::function<void(const std::string& scene)> check_scene = nullptr) {
    return {what,
            [arguments](const std::string& folder, std::string&) {
                std::vector<std::string> all = arguments;
                all.insert(all.end(), {"--no-pictures", "--out", folder + "/out"});
                return all;
            },
            exit_code,
            [exit_code, starts, also, check_scene](const std::string& folder, const HostRun& run) {
                EXPECT_NE(run.output.find(starts), std::string::npos) << run.output;
                if (exit_code != 0) {
                    EXPECT_EQ(run.output.find('\n'), run.output.size() - 1) << "one line";
                }
                EXPECT_NE(run.output.find(also), std::string::npos) << run.output;
                if (check_scene) check_scene(read_text(folder + "/out/scene.json"));
            }};
}

const Fault kFaults[] = {
    {"a folder in the way of one output leaves every earlier output as it was",
     [](const std::string& folder, std::string&) {
         fs::create_directories(folder + "/out/view.svg");
         write_text(folder + "/out/view.svg/mine.txt", "mine\n");
         write_text(folder + "/out/scene.json", "earlier scene\n");
         write_text(folder + "/out/top.svg", "earlier top\n");
         return std::vector<std::string>{"--scene", data_file("billboards.json"), "--out", folder + "/out"};
     },
     3,
     [](const std::string& folder, const HostRun& run) {
         EXPECT_NE(run.output.find("view.svg: a folder is in the way"), std::string::npos) << run.output;
         EXPECT_EQ(read_text(folder + "/out/scene.json"), "earlier scene\n");
         EXPECT_EQ(read_text(folder + "/out/top.svg"), "earlier top\n");
         EXPECT_EQ(read_text(folder + "/out/view.svg/mine.txt"), "mine\n");
         std::size_t entries = 0;
         for (const auto& entry : fs::directory_iterator(folder + "/out")) entries += entry.exists() ? 1 : 0;
         EXPECT_EQ(entries, 3u) << "no temporary or backup file is left";
     }},
    {"a marker centre that overflows through the input transformation reads back",
     [](const std::string& folder, std::string&) {
         const std::string scene =
             scene_with(folder, R"({"input_to_world": [1e30,0,0,0, 0,1e30,0,0, 0,0,1e30,0, 0,0,0,1], "root": {}})");
         return std::vector<std::string>{"--scene", scene, "--create", "1e10", "1", "0", "--no-pictures",
                                         "--out", folder + "/out"};
     },
     0,
     [](const std::string& folder, const HostRun&) {
         EXPECT_NE(read_text(folder + "/out/scene.json").find("\"0x7F800000\""), std::string::npos)
             << "the centre is not finite";
         const HostRun again = run_host({"--scene", folder + "/out/scene.json", "--no-pictures", "--out", folder + "/again"});
         ASSERT_EQ(again.exit_code, 0) << again.output;
         EXPECT_EQ(read_text(folder + "/again/scene.json"), read_text(folder + "/out/scene.json"));
     }},
    eye_refused_in_command_line_words("an eye of NaN is refused in command-line words", "nan"),
    eye_refused_in_command_line_words("an infinite eye is refused in command-line words", "inf"),
    eye_refused_in_command_line_words("an eye beyond the float range is refused in command-line words", "1e39"),
    {"a folder given as the scene is named as a folder",
     [](const std::string& folder, std::string&) {
         fs::create_directories(folder + "/adir");
         return std::vector<std::string>{"--scene", folder + "/adir", "--out", folder + "/out"};
     },
     1,
     [](const std::string& folder, const HostRun& run) {
         EXPECT_EQ(run.output, "ftv-host: " + folder + "/adir: a folder, where a file was expected\n");
     }},
    {"an option the command line refuses fails as a wrong file does",
     [](const std::string& folder, std::string&) {
         return std::vector<std::string>{"--scene", data_file("billboards.json"), "--orbit", "0", "--out", folder + "/out"};
     },
     1,
     [](const std::string& folder, const HostRun& run) {
         EXPECT_EQ(run.output.rfind("ftv-host: --orbit: ", 0), 0u) << run.output;
         EXPECT_FALSE(fs::exists(folder + "/out"));
     }},
    {"events read from a pipe",
     [](const std::string& folder, std::string& input) {
         input = data_file("events.json");
         return std::vector<std::string>{"--scene", data_file("billboards.json"), "--events", "/dev/stdin",
                                         "--no-pictures", "--out", folder + "/out"};
     },
     0,
     [](const std::string& folder, const HostRun& run) {
         // Same as reading it from a file.
         const HostRun from_files = run_host({"--scene", data_file("billboards.json"), "--events",
                                              data_file("events.json"), "--no-pictures", "--out", folder + "/files"});
         ASSERT_EQ(from_files.exit_code, 0) << from_files.output;
         EXPECT_EQ(read_text(folder + "/out/scene.json"), read_text(folder + "/files/scene.json")) << run.output;
     }},
    {"the summary gives the working switch when the root part's attribute dialog changed the stored one",
     [](const std::string& folder, std::string&) {
         return std::vector<std::string>{"--scene", data_file("billboards.json"), "--attribute", "/",
                                         "--attribute-answer", "off", "--notify", "--no-pictures", "--out", folder + "/out"};
     },
     0,
     [](const std::string&, const HostRun& run) {
         EXPECT_NE(run.output.find("switch: on (stored: off)"), std::string::npos) << run.output;
         // And the parts did turn: the working copy is what the update pass obeys.
         EXPECT_NE(run.output.find("parts turned: 3"), std::string::npos) << run.output;
     }},
    told("a scene that stores no switch says how to switch the plug-in on",
         {"--scene", data_file("round_trip.json"), "--notify"}, 0, "ftv-host: ", "--menu on or --click left"),
    told("--select without --create is refused", {"--select", "/Billboard A"}, 1, "ftv-host: --select: ", "--create"),
    told("an unknown option is refused in the same form", {"--orbitt", "3"}, 1, "ftv-host: command line: ", "--orbitt"),
    told("the attribute dialog on a marker runs and warns that it never turns",
         {"--attribute", "/Billboard A/#center"}, 0, "ftv-host: --attribute: warning: ", "/Billboard A/#center",
         [](const std::string& scene) {
             const std::size_t marker = scene.find("\"#center\"", scene.find("\"Billboard A\""));
             EXPECT_LT(scene.find("40A000C0", marker), scene.find('}', marker)) << "the dialog tagged it";
         }),
};

void PrintTo(const Fault& c, std::ostream* out) { *out << c.what; }

class ReportedFault : public ::testing::TestWithParam<Fault> {};

TEST_P(ReportedFault, IsMended) {
    const Fault& c = GetParam();
    const std::string folder = fresh_folder("fault_" + testing_support::case_name(c.what).substr(0, 40));
    std::string input;
    std::vector<std::string> arguments = c.arrange(folder, input);
    HostRun run;
    if (std::find(arguments.begin(), arguments.end(), "/dev/stdin") != arguments.end()) {
        // The input through a pipe on standard input.
        std::string command = "cat \"$1\" | \"$2\"";
        for (std::size_t i = 0; i < arguments.size(); ++i) command += " \"${" + std::to_string(i + 3) + "}\"";
        std::vector<std::string> shell{"-c", command, "sh", input, FTV_HOST_PATH};
        shell.insert(shell.end(), arguments.begin(), arguments.end());
        run = run_program("sh", shell);
    } else {
        run = run_host(arguments, input);
    }
    EXPECT_EQ(run.exit_code, c.exit_code) << run.output;
    c.check(folder, run);
}

INSTANTIATE_TEST_SUITE_P(Table, ReportedFault, ::testing::ValuesIn(kFaults),
                         [](const auto& info) { return testing_support::case_name(info.param.what); });

}  // namespace
