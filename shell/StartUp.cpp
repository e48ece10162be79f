// The first steps of start-up, before any window.
#include "shell/StartUp.h"

#include <csignal>
#include <filesystem>
#include <system_error>

#include "scores/ScoreFile.h"
#include "shell/AppFolder.h"
#include "shell/EndProgram.h"

void PrepareStart(Module1& module1) {
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

void ApplyStartValues(Module1& module1) {
  module1.Stage = 1;
  module1.PlayerIndex = 0;
  module1.SoundFlags = DefaultSoundFlags;
}
