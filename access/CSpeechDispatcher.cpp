#include "access/CSpeechDispatcher.h"

#include <libspeechd.h>

#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <deque>
#include <mutex>

namespace {

// Requests waiting beyond this are dropped: words that late are of no use.
const size_t QUEUE_LIMIT = 16;
// How long closing waits for the thread to finish with the server.
const std::chrono::milliseconds CLOSE_WAIT(300);

// The server's message, on one line and without the blanks around it.
std::string OneLine(const char *text) {
  std::string line = text ? text : "";
  for (char &c : line)
    if (c == '\n' || c == '\r' || c == '\t')
      c = ' ';
  const size_t first = line.find_first_not_of(' ');
  if (first == std::string::npos)
    return "";
  return line.substr(first, line.find_last_not_of(' ') - first + 1);
}

} // namespace

struct CSpeechDispatcher::Shared {
  struct Request {
    bool cancel = false; // else say text
    std::string text;
  };

  mutable std::mutex mutex;
  std::condition_variable wake;     // a request came, or the client closes
  std::condition_variable finished; // the thread is done
  std::deque<Request> requests;
  State state = State::Connecting;
  std::string reason;
  bool closing = false;
  bool done = false;
};

CSpeechDispatcher::CSpeechDispatcher() : shared(std::make_shared<Shared>()) {}

CSpeechDispatcher::~CSpeechDispatcher() {
  if (!worker.joinable())
    return; // never opened
  std::unique_lock<std::mutex> lock(shared->mutex);
  shared->closing = true;
  shared->requests.clear();
  shared->wake.notify_one();
  const bool done = shared->finished.wait_for(lock, CLOSE_WAIT, [this] { return shared->done; });
  lock.unlock();
  // A server that hangs keeps the thread in a request; it owns its share of
  // the state and ends when the request does, or with the program.
  if (done)
    worker.join();
  else
    worker.detach();
}

void CSpeechDispatcher::Open() {
  if (worker.joinable())
    return;
  worker = std::thread(Run, shared);
}

CSpeechClient::State CSpeechDispatcher::GetState(std::string &reason) const {
  std::lock_guard<std::mutex> lock(shared->mutex);
  reason = shared->reason;
  return shared->state;
}

void CSpeechDispatcher::Say(const std::string &text, bool interrupt) {
  std::lock_guard<std::mutex> lock(shared->mutex);
  if (shared->state == State::Failed || shared->closing)
    return;
  if (interrupt) {
    shared->requests.clear();
    shared->requests.push_back({true, ""});
  }
  if (shared->requests.size() < QUEUE_LIMIT)
    shared->requests.push_back({false, text});
  shared->wake.notify_one();
}

void CSpeechDispatcher::Cancel() {
  std::lock_guard<std::mutex> lock(shared->mutex);
  if (shared->state == State::Failed || shared->closing)
    return;
  shared->requests.clear();
  shared->requests.push_back({true, ""});
  shared->wake.notify_one();
}

void CSpeechDispatcher::Run(std::shared_ptr<Shared> shared) {
  // Connecting may start the server (autospawn), which takes a while; only
  // this thread waits for it.
  char *error = nullptr;
  SPDConnection *connection = spd_open2(CLIENT_NAME, "main", nullptr, SPD_MODE_SINGLE, nullptr, 1, &error);
  std::unique_lock<std::mutex> lock(shared->mutex);
  if (!connection) {
    shared->state = State::Failed;
    shared->reason = error ? OneLine(error) : "the connection was refused";
    shared->requests.clear();
  } else {
    shared->state = State::Ready;
  }
  free(error);
  while (connection) {
    shared->wake.wait(lock, [&] { return shared->closing || !shared->requests.empty(); });
    if (shared->closing)
      break;
    const Shared::Request request = shared->requests.front();
    shared->requests.pop_front();
    lock.unlock();
    // SPD_TEXT: one message after the other; the game cancels what should
    // not be heard to its end.
    const int result = request.cancel ? spd_cancel(connection) : spd_say(connection, SPD_TEXT, request.text.c_str());
    lock.lock();
    if (result < 0 && !request.cancel) {
      shared->state = State::Failed;
      shared->reason = "the speech server stopped answering";
      shared->requests.clear();
      break;
    }
  }
  lock.unlock();
  if (connection)
    spd_close(connection);
  lock.lock();
  shared->done = true;
  shared->finished.notify_all();
}
