// Outputs replaced as a set: whichever rename fails, every earlier output is
// as it was and nothing else is left in the folder; without a failure every
// output is the new one.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <map>
#include <sstream>

#include "case_names.h"
#include "host_run.h"
#include "run/output_files.h"
#include "cli/summary.h"

namespace {

using namespace ftv_cli_testing;
namespace fs = std::filesystem;

int renames_left = 0;  // renames that succeed before one fails

int failing_rename(const char* from, const char* to) {
    if (renames_left-- == 0) {
        errno = EIO;
        return -1;
    }
    return std::rename(from, to);
}

struct Commit {
    const char* what;
    int renames_before_failure;  // -1: none fails
    bool first_exists, second_exists;
};

const Commit kCommits[] = {
    {"nothing fails", -1, true, true},
    {"nothing fails, nothing was there", -1, false, false},
    {"first backup fails", 0, true, true},
    {"first placing fails", 1, true, true},
    {"second backup fails", 2, true, true},
    {"second placing fails", 3, true, true},
    {"second placing fails, first was new", 2, false, true},
    {"second placing fails, second was new", 2, true, false},
    {"first placing fails, nothing was there", 0, false, false},
};

void PrintTo(const Commit& c, std::ostream* out) { *out << c.what; }

std::map<std::string, std::string> contents(const std::string& folder) {
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::directory_iterator(folder))
        files[entry.path().filename().string()] = read_text(entry.path().string());
    return files;
}

class OutputCommit : public ::testing::TestWithParam<Commit> {};

TEST_P(OutputCommit, ReplacesEveryFileOrNone) {
    const Commit& c = GetParam();
    const std::string folder = fresh_folder("commit_" + testing_support::case_name(c.what));
    if (c.first_exists) write_text(folder + "/a.txt", "old a");
    if (c.second_exists) write_text(folder + "/b.txt", "old b");
    const auto before = contents(folder);

    renames_left = c.renames_before_failure;
    {
        ftv_cli::OutputFiles outputs(c.renames_before_failure < 0 ? nullptr : failing_rename);
        outputs.add(folder + "/a.txt", "new a");
        outputs.add(folder + "/b.txt", "new b");
        if (c.renames_before_failure < 0) {
            outputs.commit();
        } else {
            EXPECT_THROW(outputs.commit(), std::runtime_error);
        }
    }

    if (c.renames_before_failure < 0) {
        EXPECT_EQ(contents(folder), (std::map<std::string, std::string>{{"a.txt", "new a"}, {"b.txt", "new b"}}));
    } else {
        EXPECT_EQ(contents(folder), before);
    }
}

INSTANTIATE_TEST_SUITE_P(Table, OutputCommit, ::testing::ValuesIn(kCommits),
                         [](const auto& info) { return testing_support::case_name(info.param.what); });

TEST(OutputFolder, AFolderTheRunCreatedGoesWhenTheRunFails) {
    const std::string folder = fresh_folder("commit_new_folder");
    fs::create_directories(folder + "/out/b.txt");  // in the way
    {
        ftv_cli::OutputFiles outputs;
        outputs.add(folder + "/out/new/a.txt", "new a");
        outputs.add(folder + "/out/b.txt", "new b");
        EXPECT_THROW(outputs.commit(), std::runtime_error);
    }
    EXPECT_FALSE(fs::exists(folder + "/out/new"));
    EXPECT_TRUE(fs::is_directory(folder + "/out/b.txt"));
}

}  // namespace

namespace {

int renames_allowed = 0;  // renames that succeed; every later one fails

int rename_then_fail(const char* from, const char* to) {
    if (renames_allowed-- <= 0) {
        errno = EIO;
        return -1;
    }
    return std::rename(from, to);
}

// When even putting back fails, the earlier output is kept under the name
// the error gives, never deleted.
TEST(OutputCommitUndo, AnEarlierOutputThatCannotBePutBackIsKeptAndNamed) {
    const std::string folder = fresh_folder("commit_undo_fails");
    write_text(folder + "/a.txt", "old a");
    renames_allowed = 1;  // a.txt moves aside, then nothing more succeeds
    std::string message;
    {
        ftv_cli::OutputFiles outputs(rename_then_fail);
        outputs.add(folder + "/a.txt", "new a");
        try {
            outputs.commit();
        } catch (const std::runtime_error& error) {
            message = error.what();
        }
    }
    const std::string kept_as = " is kept as ";
    const auto at = message.find(kept_as);
    ASSERT_NE(at, std::string::npos) << message;
    EXPECT_EQ(read_text(message.substr(at + kept_as.size())), "old a");
    EXPECT_FALSE(fs::exists(folder + "/a.txt"));
}

}  // namespace

namespace {

// Two runs at once, each making the missing output folder: neither fails.
TEST(OutputFolderRace, TwoRunsCreatingTheSameFolderBothSucceed) {
    const std::string folder = fresh_folder("commit_race");
    int failed_runs = 0;
    for (int round = 0; round < 30; ++round) {
        const std::string out = folder + "/" + std::to_string(round) + "/out";
        int start[2];
        ASSERT_EQ(pipe(start), 0);
        pid_t runs[2];
        for (pid_t& run : runs) {
            run = fork();
            if (run == 0) {
                close(start[1]);
                char go;
                (void)!read(start[0], &go, 1);  // returns when the other run can start too
                ftv_cli::OutputFiles outputs;
                outputs.add(out + "/" + std::to_string(getpid()) + ".txt", "written");
                try {
                    outputs.commit();
                } catch (...) {
                    _exit(1);
                }
                _exit(0);
            }
        }
        close(start[0]);
        close(start[1]);
        for (pid_t run : runs) {
            int status = 0;
            waitpid(run, &status, 0);
            failed_runs += WIFEXITED(status) && WEXITSTATUS(status) == 0 ? 0 : 1;
        }
        EXPECT_EQ(std::distance(fs::directory_iterator(out), fs::directory_iterator()), 2) << out;
    }
    EXPECT_EQ(failed_runs, 0);
}

}  // namespace

namespace {

// A run writes its outputs only once the plug-in has given back every host
// object: here the test itself holds one when the run ends, then gives it back.
TEST(OutputsOfARun, WaitForABalancedHost) {
    const std::string folder = fresh_folder("outputs_wait");
    ftv_cli::PluginSession session = session_beside_host();
    ftv::HostScene* held = session.host().app().active_scene();
    std::ostringstream errors;
    for (bool balanced : {false, true}) {
        ftv_cli::OutputFiles outputs;
        outputs.add(folder + "/scene.json", "scene");
        EXPECT_EQ(ftv_cli::write_when_balanced(session, outputs, errors), balanced);
        EXPECT_EQ(fs::exists(folder + "/scene.json"), balanced);
        if (!balanced) held->Release();
    }
    EXPECT_NE(errors.str().find("HostScene"), std::string::npos) << errors.str();
}

}  // namespace
