// Where the settings file lives and what a bare file name means, by where
// the program runs from.
//
// A portable copy, run from a folder it may write, keeps its settings beside
// itself, as it always has: it reads tessel.ini from the current directory,
// writes it beside the program, and completes a bare file name with the
// program's folder. An installed copy (its folder not writable, or one of
// the system's program folders, which even root must not fill with
// settings) keeps them in the user's configuration folder,
// $XDG_CONFIG_HOME/tessel/tessel.ini, or ~/.config/tessel/tessel.ini when
// that variable is unset, empty or not an absolute path; it completes a
// bare file name with the user's home folder.

#ifndef TESSEL_APP_SETTINGSPLACE_H_
#define TESSEL_APP_SETTINGSPLACE_H_

#include <QString>

namespace tessel::app {

struct SettingsPlace {
  // The settings file read at the window's first show.
  QString read_path;
  // The settings file written when the window closes.
  QString write_path;
  // Completes bare file names, and the pickers start there; it ends in the
  // system's path delimiter.
  QString start_dir;
  bool installed = false;
};

// Where the running program is, as ChooseSettingsPlace takes it.
struct ProgramSurroundings {
  // The folder of the program's executable, without a delimiter at its end.
  QString program_dir;
  // The program may create files in program_dir.
  bool program_dir_writable = false;
  // $XDG_CONFIG_HOME as set, or empty.
  QString config_home;
  QString home;
  QString current_dir;
};

SettingsPlace ChooseSettingsPlace(const ProgramSurroundings& surroundings);

// This process's surroundings: its executable's folder and the environment.
ProgramSurroundings SurroundingsOfThisProgram();

}  // namespace tessel::app

#endif  // TESSEL_APP_SETTINGSPLACE_H_
