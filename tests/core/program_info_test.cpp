// The two programs as commands: --version and --help print and exit 0 with
// no display at hand, and the window program without a display names
// itself, in its one line, as it was started.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "support/run_command.h"

namespace brevika {
namespace {

using testing::RunCommand;
using testing::ShellQuote;

const std::string kLicence =
    "Copyright (C) 2026 Brevika Software\n"
    "License GPLv3+: GNU GPL version 3 or later <https://gnu.org/licenses/gpl.html>.\n"
    "This is free software: you are free to change and redistribute it.\n"
    "There is NO WARRANTY, to the extent permitted by law.\n";

// What a terminal without a desktop has: no display, no Qt platform chosen.
std::string WithoutDisplay(const std::string& command) {
  return "env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM " + command;
}

TEST(ProgramInfo, BothProgramsPrintTheirVersion) {
  auto calc = RunCommand(WithoutDisplay(std::string(BREVIKA_CALC_PATH) + " --version"), true);
  EXPECT_EQ(calc.status, 0);
  EXPECT_EQ(calc.out, "brevika-calc 2.0\n" + kLicence);
  auto app = RunCommand(WithoutDisplay(std::string(BREVIKA_APP_PATH) + " --version"), true);
  EXPECT_EQ(app.status, 0);
  EXPECT_EQ(app.out, "brevika 2.0\n" + kLicence);
}

TEST(ProgramInfo, WindowProgramPrintsItsUsage) {
  for (const char* flag : {"--help", "-h"}) {
    auto r = RunCommand(WithoutDisplay(std::string(BREVIKA_APP_PATH) + " " + flag), true);
    EXPECT_EQ(r.status, 0) << flag;
    EXPECT_EQ(r.out,
              "Usage: brevika [--help | --version]\n"
              "Opens the main window of Brevika: loan and mortgage calculators with\n"
              "amortization schedules. The same calculations without windows: brevika-calc.\n"
              "\n"
              "Options:\n"
              "  -h, --help   print this help and exit\n"
              "  --version    print the version and exit\n")
        << flag;
  }
}

TEST(ProgramInfo, WithoutADisplayTheProgramNamesItselfAsStarted) {
  const std::string head =
      "brevika: no display found (DISPLAY and WAYLAND_DISPLAY are not set); "
      "to run it without a desktop use a virtual display: xvfb-run -a ";
  const std::filesystem::path app = BREVIKA_APP_PATH;
  auto byPath = RunCommand(WithoutDisplay(ShellQuote(app.string())), true);
  EXPECT_EQ(byPath.status, 1);
  EXPECT_EQ(byPath.out, head + app.string() + "\n");
  // Found on the PATH, as an installed program is started.
  auto byName = RunCommand("PATH=" + ShellQuote(app.parent_path().string() + ":/usr/bin:/bin") + " " +
                               WithoutDisplay("brevika"),
                           true);
  EXPECT_EQ(byName.status, 1);
  EXPECT_EQ(byName.out, head + "brevika\n");
}

}  // namespace
}  // namespace brevika
