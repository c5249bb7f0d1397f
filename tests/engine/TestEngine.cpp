// A scripted engine for deterministic tests of the engine link and the game
// flow. It reads command lines on standard input and answers each with what
// its script says, so a test decides the output's chunking, delays, carriage
// returns, garbage, silence and early death.
//
// The script is the file named by the environment variable
// KELVAR_TEST_ENGINE_SCRIPT, or else "test_engine.script" in the working
// directory; with neither, the defaults below apply. One directive per line;
// lines starting with '#' and blank lines are ignored.
//
//   reply <kind> [text]  Queues a reply for commands of that kind: the n-th
//                        command of the kind gets the n-th queued reply, and
//                        once the queue is used up the kind's default answers.
//                        An empty text answers nothing.
//   bestmove <m> [<m>..] Queues "bestmove <m>\n" replies of the kind "search",
//                        one per move, in order: a whole game's engine moves.
//   greeting <text>      Written once at start-up, before any command.
//   chunk <bytes> <ms>   Every reply goes out in pieces of at most <bytes>
//                        bytes with a pause of <ms> between them.
//   transcript <path>    Every line received is appended to path as it came,
//                        line feed included: the file holds the exact bytes
//                        the engine was sent.
//   ignore-quit          "quit" and the end of input do not end the program; it
//                        lingers until it is killed.
//
// Texts take the escapes \n \r \t \\ \xHH and three actions: {sleep MS}
// pauses, {exit CODE} ends the program at once with that code, {fds} writes
// the numbers of the descriptors above 2 it inherited ("none" if none).
//
// Kinds: uci, isready, go, move (a bare move line such as e2e4 or e7e8q that
// is not the echo), echo (a bare move equal to the move of the last
// "bestmove" written, the game handing the engine's move back), stop, quit,
// position, ucinewgame, setoption, empty, other. The kinds go and move share
// one queue, named "search" (any of the three names fills it), because a real
// engine answers both with its next search.
// Defaults: uci answers "id name Kelvar Test Engine\nid author Kelvar\nuciok\n",
// isready "readyok\n", echo "bestmove 0000\n"; every other kind nothing.
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <dirent.h>
#include <fstream>
#include <iostream>
#include <map>
#include <sstream>
#include <string>
#include <time.h>
#include <unistd.h>

namespace {

struct Script {
  std::map<std::string, std::deque<std::string>> replies;
  std::string greeting;
  size_t chunkBytes = 0;
  int chunkPauseMs = 0;
  std::string transcript;
  bool ignoreQuit = false;
};

std::string inheritedFds = "none";
std::string lastBestMove;

void PauseMs(int ms) {
  timespec wait{ms / 1000, long(ms % 1000) * 1000000L};
  while (nanosleep(&wait, &wait) != 0) {
  }
}

// Notes which descriptors above 2 were open at start (the listing's own aside).
void NoteInheritedFds() {
  DIR *dir = opendir("/proc/self/fd");
  if (!dir)
    return;
  std::string list;
  while (dirent *entry = readdir(dir)) {
    if (!isdigit(static_cast<unsigned char>(entry->d_name[0])))
      continue;
    const int fd = atoi(entry->d_name);
    if (fd > 2 && fd != dirfd(dir))
      list += (list.empty() ? "" : " ") + std::to_string(fd);
  }
  closedir(dir);
  if (!list.empty())
    inheritedFds = list;
}

std::string Unescape(const std::string &text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\\' || i + 1 == text.size()) {
      out += text[i];
      continue;
    }
    const char c = text[++i];
    if (c == 'n')
      out += '\n';
    else if (c == 'r')
      out += '\r';
    else if (c == 't')
      out += '\t';
    else if (c == 'x' && i + 2 < text.size() && isxdigit(static_cast<unsigned char>(text[i + 1])) &&
             isxdigit(static_cast<unsigned char>(text[i + 2]))) {
      out += char(strtol(text.substr(i + 1, 2).c_str(), nullptr, 16));
      i += 2;
    } else
      out += c;
  }
  return out;
}

Script LoadScript() {
  Script script;
  const char *path = getenv("KELVAR_TEST_ENGINE_SCRIPT");
  std::ifstream in(path && *path ? path : "test_engine.script");
  std::string line;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#')
      continue;
    std::istringstream words(line);
    std::string directive;
    words >> directive;
    std::string rest;
    std::getline(words >> std::ws, rest);
    if (directive == "reply") {
      std::istringstream parts(rest);
      std::string kind;
      parts >> kind;
      if (parts.peek() == ' ')
        parts.ignore(1); // one blank separates the kind from the text
      std::string text;
      std::getline(parts, text);
      if (kind == "go" || kind == "move")
        kind = "search";
      script.replies[kind].push_back(Unescape(text));
    } else if (directive == "bestmove") {
      std::istringstream moves(rest);
      std::string move;
      while (moves >> move)
        script.replies["search"].push_back("bestmove " + move + "\n");
    } else if (directive == "greeting") {
      script.greeting = Unescape(rest);
    } else if (directive == "chunk") {
      std::istringstream(rest) >> script.chunkBytes >> script.chunkPauseMs;
    } else if (directive == "transcript") {
      script.transcript = rest;
    } else if (directive == "ignore-quit") {
      script.ignoreQuit = true;
    } else {
      std::cerr << "test engine: unknown script directive '" << directive << "'\n";
    }
  }
  return script;
}

void WriteRaw(const Script &script, const std::string &bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    size_t piece = bytes.size() - done;
    if (script.chunkBytes > 0 && piece > script.chunkBytes)
      piece = script.chunkBytes;
    const ssize_t n = write(STDOUT_FILENO, bytes.data() + done, piece);
    if (n <= 0)
      _exit(2); // the front end has gone
    done += size_t(n);
    if (script.chunkBytes > 0 && done < bytes.size())
      PauseMs(script.chunkPauseMs);
  }
}

// Writes a reply text, carrying out its {sleep}, {exit} and {fds} actions.
void Emit(const Script &script, const std::string &text) {
  const size_t best = text.find("bestmove ");
  if (best != std::string::npos)
    lastBestMove = text.substr(best + 9, 4);
  size_t pos = 0;
  while (pos < text.size()) {
    const size_t open = text.find('{', pos);
    const size_t close = open == std::string::npos ? open : text.find('}', open);
    if (close == std::string::npos) {
      WriteRaw(script, text.substr(pos));
      return;
    }
    WriteRaw(script, text.substr(pos, open - pos));
    std::istringstream action(text.substr(open + 1, close - open - 1));
    std::string name;
    int value = 0;
    action >> name >> value;
    if (name == "sleep")
      PauseMs(value);
    else if (name == "exit")
      _exit(value);
    else if (name == "fds")
      WriteRaw(script, inheritedFds);
    else
      WriteRaw(script, text.substr(open, close - open + 1));
    pos = close + 1;
  }
}

bool IsBareMove(const std::string &s) {
  if (s.size() != 4 && s.size() != 5)
    return false;
  const bool squares = s[0] >= 'a' && s[0] <= 'h' && s[1] >= '1' && s[1] <= '8' && s[2] >= 'a' && s[2] <= 'h' &&
                       s[3] >= '1' && s[3] <= '8';
  return squares && (s.size() == 4 || strchr("qrbn", s[4]));
}

std::string KindOf(const std::string &line) {
  if (line.empty())
    return "empty";
  if (IsBareMove(line)) {
    const bool echo = !lastBestMove.empty() && line.compare(0, 4, lastBestMove) == 0;
    return echo ? "echo" : "move";
  }
  const std::string first = line.substr(0, line.find(' '));
  for (const char *known : {"uci", "isready", "go", "stop", "quit", "position", "ucinewgame", "setoption"})
    if (first == known)
      return first;
  return "other";
}

std::string DefaultReply(const std::string &kind) {
  if (kind == "uci")
    return "id name Kelvar Test Engine\nid author Kelvar\nuciok\n";
  if (kind == "isready")
    return "readyok\n";
  if (kind == "echo")
    return "bestmove 0000\n";
  return "";
}

} // namespace

int main() {
  NoteInheritedFds();
  Script script = LoadScript();
  FILE *transcript = script.transcript.empty() ? nullptr : fopen(script.transcript.c_str(), "ab");
  Emit(script, script.greeting);

  std::string line;
  bool quitting = false;
  while (!quitting && std::getline(std::cin, line)) {
    if (transcript) {
      fwrite(line.data(), 1, line.size(), transcript);
      fputc('\n', transcript);
      fflush(transcript);
    }
    if (!line.empty() && line.back() == '\r')
      line.pop_back();
    const std::string kind = KindOf(line);
    if (kind == "move" || kind == "echo")
      lastBestMove.clear();
    const std::string queue = kind == "go" || kind == "move" ? "search" : kind;
    std::deque<std::string> &replies = script.replies[queue];
    std::string reply = DefaultReply(kind);
    if (!replies.empty()) {
      reply = replies.front();
      replies.pop_front();
    }
    Emit(script, reply);
    quitting = kind == "quit" && !script.ignoreQuit;
  }
  if (script.ignoreQuit)
    for (;;)
      PauseMs(1000);
  return 0;
}
