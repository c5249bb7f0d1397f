#include "game/CAnnotateFile.h"

#include "chess/CGameAnalysis.h"
#include "chess/CPgnReader.h"
#include "chess/CPgnWriter.h"
#include "engine/CAnalysisRun.h"
#include "platform/DataFiles.h"
#include "platform/Platform.h"

#include <chrono>
#include <vector>

namespace {

// The pause between two looks at the engine: short beside a search of
// hundreds of milliseconds, long enough not to spin.
const uint32_t STEP_PAUSE_MS = 1;

uint64_t NowMs() {
  return static_cast<uint64_t>(
      std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
          .count());
}

std::string GameName(size_t index, const chess::PgnGameEntry &entry) {
  return "game " + std::to_string(index + 1) + " (line " + std::to_string(entry.line) + ")";
}

// Reviews one game into its record; false, with error, when the engine fails.
bool ReviewGame(size_t index, chess::PgnGame &game, const chess::CGameAnalysis &analysis, long long nodes,
                const std::string &enginePath, std::ostream &progress, std::ostream &log, std::string &error) {
  CAnalysisRun run;
  if (!run.Start(analysis, enginePath, nodes, NowMs(), error))
    return false;
  size_t shown = SIZE_MAX;
  CAnalysisRun::Status status = run.GetStatus();
  for (;;) {
    if (run.Judged() != shown) {
      shown = run.Judged();
      progress << "\rreview: game " << index + 1 << ", position " << shown << "/" << run.Total() << std::flush;
    }
    if (status != CAnalysisRun::Status::Running)
      break;
    platform::Sleep(STEP_PAUSE_MS);
    status = run.Step(NowMs());
  }
  progress << "\n" << std::flush;
  if (status != CAnalysisRun::Status::Done) {
    error = run.Error();
    return false;
  }
  const chess::GameReview review = run.Analysis().Review();
  if (!review.ok) {
    error = review.error;
    return false;
  }
  run.Analysis().Annotate(game, review);
  log << "Kelvar: " << chess::CGameAnalysis::SummaryLine(review, run.Analysis().Plies(), run.ElapsedMs()) << "\n"
      << std::flush;
  return true;
}

} // namespace

int CAnnotateFile::Run(const std::string &in, const std::string &out, long long nodes, const std::string &enginePath,
                       std::ostream &progress, std::ostream &log) {
  const auto refuse = [&](const std::string &reason) {
    progress << "kelvar: --annotate " << in << ": " << reason << "\n" << std::flush;
    return 1;
  };
  std::string text, error;
  if (!platform::ReadSmallFile(in, chess::CPgnReader::MAX_FILE_BYTES, text, error))
    return refuse(error);
  std::vector<chess::PgnGameEntry> games;
  chess::PgnError pgnError;
  if (!chess::CPgnReader::ReadAll(text, games, pgnError))
    return refuse("line " + std::to_string(pgnError.line) + ": " + pgnError.reason);

  // Every game is checked before the engine is started: a broken one stops
  // the whole run, which writes nothing.
  std::vector<chess::CGameAnalysis> analyses(games.size());
  for (size_t i = 0; i < games.size(); ++i) {
    if (!games[i].ok)
      return refuse(GameName(i, games[i]) + ", line " + std::to_string(games[i].error.line) + ": " +
                    games[i].error.reason);
    if (!analyses[i].Start(games[i].game, error))
      return refuse(GameName(i, games[i]) + ": " + error);
  }

  std::string written;
  for (size_t i = 0; i < games.size(); ++i) {
    if (!ReviewGame(i, games[i].game, analyses[i], nodes, enginePath, progress, log, error))
      return refuse(GameName(i, games[i]) + ": " + error);
    std::string gameText;
    if (!chess::CPgnWriter::Write(games[i].game, gameText, error))
      return refuse(GameName(i, games[i]) + " cannot be written: " + error);
    // Games are set apart by a blank line; the writer ends each with one.
    const bool apart = written.empty() || (written.size() >= 2 && written.compare(written.size() - 2, 2, "\n\n") == 0);
    written += (apart ? "" : "\n") + gameText;
  }
  if (!platform::WriteFileAtomically(out, written, error)) {
    progress << "kelvar: --annotate " << out << ": " << error << "\n" << std::flush;
    return 1;
  }
  return 0;
}
