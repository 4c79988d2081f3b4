// The command-line host run as a process: arguments, piped lines, exit status, options.
#include <sys/wait.h>

#include <cstdio>
#include <fstream>
#include <string>

#include <gtest/gtest.h>

namespace {

struct HostRun {
    std::string output;
    int status;
};

// Runs the host through the shell with the given arguments (already quoted) and input.
HostRun runHost(const std::string& arguments, const std::string& input = "") {
    // One input file per test, so tests running in parallel never share one.
    const std::string inputPath = ::testing::TempDir() + "kxcalc_cli_input_" +
                                  ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".txt";
    std::ofstream(inputPath) << input;
    const std::string command = std::string("'") + KXCALC_HOST_PATH + "' " + arguments + " < '" + inputPath + "' 2>/dev/null";
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) return {"", -1};
    std::string output;
    char chunk[256];
    while (std::fgets(chunk, sizeof chunk, pipe) != nullptr) output += chunk;
    const int status = pclose(pipe);
    return {output, WIFEXITED(status) ? WEXITSTATUS(status) : -1};
}

TEST(cli, evaluates_each_argument_in_one_session) {
    const HostRun run = runHost("'set x = 2+i' 'x*x' '(1+2*i)/(3+4*i)'");
    EXPECT_EQ(run.output, "2+i\n3+4i\n0.44+0.08i\n");
    EXPECT_EQ(run.status, 0);
}

TEST(cli, any_message_makes_the_exit_status_one) {
    const HostRun run = runHost("'1+1' '2)' '3'");
    EXPECT_EQ(run.output, "2\nSyntax error.  Unmatched: )\n3\n");
    EXPECT_EQ(run.status, 1);
}

TEST(cli, arguments_that_look_like_options_are_expressions) {
    EXPECT_EQ(runHost("-2+3").output, "1\n");
    EXPECT_EQ(runHost("-- --3").output, "3\n");
    EXPECT_EQ(runHost("-- --help").output, "Ran Out of Data\n");
}

TEST(cli, piped_lines_give_one_text_per_line) {
    const HostRun run = runHost("", "set y = 3\ny*2\n\n2 3\r\nSET Z = Y\nz\n");
    EXPECT_EQ(run.output, "3\n6\nRan Out of Data\nParse Error: 3\n3\n3\n");
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(runHost("", "1\n2").output, "1\n2\n");  // a last line without newline counts
    EXPECT_EQ(runHost("", "").status, 0);
}

TEST(cli, long_lines_fit_their_buffer) {
    std::string line;
    for (int i = 0; i < 5000; ++i) line += "1+";
    line += "1";
    EXPECT_EQ(runHost("", line + "\n").output, "5001\n");
}

TEST(cli, help_version_and_usage_errors) {
    const HostRun help = runHost("--help");
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.output.find("Usage: kxcalc"), std::string::npos);
    const HostRun version = runHost("--version");
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.output.rfind("kxcalc ", 0), 0u);
    const HostRun unknown = runHost("--frobnicate");
    EXPECT_EQ(unknown.status, 2);
    EXPECT_EQ(unknown.output, "");
}

}  // namespace
