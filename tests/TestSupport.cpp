#include "TestSupport.h"

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cctype>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <map>
#include <random>
#include <stdexcept>

extern char** environ;

namespace tessel::testing {

TempDir::TempDir() {
  std::random_device random;
  const auto base = std::filesystem::temp_directory_path();
  for (;;) {
    path_ = base / ("tessel-test-" + std::to_string(random()));
    if (std::filesystem::create_directory(path_)) break;
  }
}

TempDir::~TempDir() {
  std::error_code ec;
  std::filesystem::remove_all(path_, ec);
}

std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + path.string());
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteFile(const std::filesystem::path& path, std::string_view bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + path.string());
}

void SetTwoSourceRun(RunOptions& options, const TempDir& dir,
                     std::string_view source1, std::string_view source2) {
  WriteFile(dir / "s1", source1);
  WriteFile(dir / "s2", source2);
  options.sources = {dir / "s1", dir / "s2", {}};
  options.results = {dir / "r1", dir / "r2", {}};
  options.difference = dir / "d";
}

std::string CodesText(const std::vector<Code>& codes) {
  std::string text;
  for (Code code : codes) {
    char hex[8];
    std::snprintf(hex, sizeof hex, "%04X", static_cast<unsigned>(code));
    if (!text.empty()) text += ' ';
    text += hex;
  }
  return text;
}

std::string BytesText(std::string_view bytes) {
  std::string text;
  for (char c : bytes) {
    const auto b = static_cast<unsigned char>(c);
    if (b == '\r') {
      text += "\\r";
    } else if (b == '\n') {
      text += "\\n";
    } else if (b >= 0x20 && b < 0x7F) {
      text += c;
    } else {
      char hex[8];
      std::snprintf(hex, sizeof hex, "<%02X>", b);
      text += hex;
    }
  }
  return text;
}

namespace {

void DrainInto(int fd, std::string* sink, bool* open) {
  char chunk[4096];
  const ssize_t got = read(fd, chunk, sizeof chunk);
  if (got <= 0) {
    *open = false;
  } else {
    sink->append(chunk, static_cast<std::size_t>(got));
  }
}

}  // namespace

ProcessResult RunProcess(const std::filesystem::path& program,
                         const std::vector<std::string>& args,
                         const std::filesystem::path& cwd,
                         int interrupt_after_ms, int kill_after_ms) {
  int out_pipe[2], err_pipe[2];
  if (pipe(out_pipe) != 0 || pipe(err_pipe) != 0) {
    throw std::runtime_error("pipe failed");
  }
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, out_pipe[1], 1);
  posix_spawn_file_actions_adddup2(&actions, err_pipe[1], 2);
  posix_spawn_file_actions_addclose(&actions, out_pipe[0]);
  posix_spawn_file_actions_addclose(&actions, err_pipe[0]);
  posix_spawn_file_actions_addchdir_np(&actions, cwd.c_str());

  std::vector<std::string> argv_text{program.string()};
  argv_text.insert(argv_text.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (auto& a : argv_text) argv.push_back(a.data());
  argv.push_back(nullptr);

  pid_t pid = 0;
  const int spawned = posix_spawn(&pid, program.c_str(), &actions, nullptr,
                                  argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  close(out_pipe[1]);
  close(err_pipe[1]);
  if (spawned != 0)
    throw std::runtime_error("cannot start " + program.string());

  ProcessResult result;
  bool out_open = true, err_open = true;
  const auto started = std::chrono::steady_clock::now();
  bool interrupted = false, killed = false;
  while (out_open || err_open) {
    pollfd fds[2] = {{out_pipe[0], POLLIN, 0}, {err_pipe[0], POLLIN, 0}};
    poll(fds, 2, 20);
    const auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(
                             std::chrono::steady_clock::now() - started)
                             .count();
    if (!interrupted && interrupt_after_ms >= 0 &&
        elapsed >= interrupt_after_ms) {
      kill(pid, SIGINT);
      interrupted = true;
    }
    if (!killed && elapsed >= kill_after_ms) {
      kill(pid, SIGKILL);
      killed = true;
    }
    if (out_open && (fds[0].revents & (POLLIN | POLLHUP))) {
      DrainInto(out_pipe[0], &result.out, &out_open);
    }
    if (err_open && (fds[1].revents & (POLLIN | POLLHUP))) {
      DrainInto(err_pipe[0], &result.err, &err_open);
    }
  }
  close(out_pipe[0]);
  close(err_pipe[0]);
  int status = 0;
  waitpid(pid, &status, 0);
  result.status =
      WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  return result;
}

std::string Lines(int a, int b) {
  char text[40];
  std::snprintf(text, sizeof text, "%6d, %6d, ", a, b);
  return text;
}

std::string Pad(const std::string& span) {
  return span + std::string(span.size() < 31 ? 31 - span.size() : 0, ' ');
}

std::string OnDisk(std::string_view text) {
  std::string disk;
  for (char c : text) disk += c == '\n' ? "\r\n" : std::string(1, c);
  return disk;
}

std::string RowName(std::string name) {
  for (char& c : name) {
    if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
  }
  return name;
}

namespace {

std::string ByteWord(unsigned char b) {
  static const std::map<unsigned char, std::string> kWords = {
      {'[', "lb"},   {']', "rb"},    {'{', "lc"},    {'}', "rc"},
      {'&', "amp"},  {';', "semi"},  {' ', "sp"},    {'\n', "LF"},
      {'\r', "CR"},  {'\t', "TAB"},  {'\0', "NUL"},  {'$', "dollar"},
      {'+', "plus"}, {'-', "minus"}, {',', "comma"}, {'|', "bar"},
      {'.', "dot"},  {'/', "slash"}, {'#', "hash"},  {'=', "eq"}};
  if (const auto word = kWords.find(b); word != kWords.end()) {
    return word->second;
  }
  char hex[8];
  std::snprintf(hex, sizeof hex, "x%02X", b);
  return hex;
}

}  // namespace

std::string BytesName(std::size_t index, std::string_view bytes) {
  constexpr std::size_t kLongestName = 48;
  char prefix[16];
  std::snprintf(prefix, sizeof prefix, "r%02zu", index);
  std::string name = prefix;
  if (bytes.empty()) return name + "_empty";
  bool in_word = false;
  for (char c : bytes) {
    const auto b = static_cast<unsigned char>(c);
    const bool alnum = b < 0x80 && std::isalnum(b);
    if (!alnum || !in_word) name += '_';
    name += alnum ? std::string(1, c) : ByteWord(b);
    in_word = alnum;
    if (name.size() >= kLongestName) break;
  }
  return name.substr(0, kLongestName);
}

std::filesystem::path CliPath() { return TESSEL_CLI_PATH; }

std::filesystem::path TestDataDir() { return TESSEL_TEST_DATA; }

}  // namespace tessel::testing
