// Start-up in the order players see it.
#include "app/AppStart.h"

#include <csignal>
#include <filesystem>
#include <system_error>

#include "app/Game.h"
#include "scores/ScoreFile.h"
#include "shell/AppFolder.h"
#include "shell/EndProgram.h"

void AppStart(Game& game) {
  AppStartBeforeWindows(game.module1);
  game.form1.Show();
  game.form2.Show();
  game.form1.Label2.SetCaption("Landing Softness\r\nControl Stadiness\r\nCourse Accuracy\r\n\r\nToTal");
  // Its window stands over the play screen wherever that is.
  game.form4.Load();
  game.form2.SetFocus();
}

void AppStartBeforeWindows(Module1& module1) {
  // A write past the file size limit then fails like any other, and ends in the write message
  // instead of a silent death half-way through a save.
  std::signal(SIGXFSZ, SIG_IGN);
  Platform& platform = module1.platform;
  const std::string programFolder = platform.ProgramFolder();
  if (!IsUsableProgramFolder(programFolder)) ShowMessageAndEnd(module1, NoProgramFolderMessage);

  module1.AppFolder = AppFolderFrom(programFolder);
  switch (platform.ClaimSingleInstance(module1.AppFolder + ScoreFileName)) {
    case InstanceClaim::Claimed: break;
    case InstanceClaim::AnotherCopy: ShowMessageAndEnd(module1, SecondCopyMessage);
    case InstanceClaim::Impossible: ShowMessageAndEnd(module1, NoClaimMessage);
  }
  RemoveSaveLeftovers(module1);

  std::error_code ignored;
  if (!std::filesystem::is_regular_file(module1.AppFolder + ScoreFileName, ignored)) InitScoreTables(module1);
  LoadScoreFile(module1);
  ApplyStartValues(module1);
}
