#include "ComparisonRun.h"

#include <algorithm>
#include <new>
#include <span>
#include <string>
#include <system_error>
#include <tuple>
#include <utility>
#include <vector>

#ifdef _WIN32
#include <wchar.h>
#endif

#include "Cp950.h"
#include "PlatformFile.h"
#include "ResultWriters.h"
#include "Resync.h"
#include "SharedStretch.h"
#include "SignFile.h"
#include "UnicodeText.h"

namespace tessel {

static_assert(std::tuple_size_v<decltype(RunStatus::lines_reached)> ==
              kMaxSources);

namespace {

// The stretches `options` asks to ignore, as the readers take them.
std::vector<IgnoredStretch> IgnoredStretchesOf(const RunOptions& options) {
  std::vector<IgnoredStretch> stretches;
  for (const auto& [open, close] : options.ignore_between) {
    stretches.push_back(IgnoredStretch{open, close});
  }
  return stretches;
}

// Writing to a character device such as /dev/null destroys nothing, so it
// may stand for several outputs.
bool IsCharacterDevice(const std::filesystem::path& path) {
#ifdef _WIN32
  // The null device, where tessel-cli sends the files of a run that
  // writes only reports, whatever the runtime's status says of it.
  if (_wcsicmp(path.c_str(), L"NUL") == 0) return true;
#endif
  std::error_code ec;
  return std::filesystem::is_character_file(path, ec);
}

}  // namespace

ComparisonRun::ComparisonRun(RunHost& host, NotationTable& notations,
                             std::vector<DifferenceSink*> sinks)
    : host_(host), notations_(notations), sinks_(std::move(sinks)) {}

ComparisonRun::~ComparisonRun() = default;

bool ComparisonRun::Fail() {
  EndRun();
  outcome_ = RunOutcome::kFailed;
  return false;
}

bool ComparisonRun::Refuse(RunErrorKind kind, RunFile file,
                           const std::filesystem::path& path) {
  errors_.push_back(RunError{kind, file, path});
  return false;
}

bool ComparisonRun::LoadSignFile() {
  const std::filesystem::path& path = options_.sign_file;
  std::unique_ptr<SourceStream> file = SourceStream::OpenFile(path);
  // A sign file must be one whose length can be found; one that cannot be
  // sought, such as a pipe, counts as not openable, as it always has.
  if (file == nullptr || file->Length() < 0) {
    return Refuse(RunErrorKind::kOpenFailed, RunFile::kSignFile, path);
  }
  if (!tessel::LoadSignFile(*reader_, *file, signs_)) {
    return Refuse(RunErrorKind::kTooLarge, RunFile::kSignFile, path);
  }
  if (file->Error()) {
    return Refuse(RunErrorKind::kReadFailed, RunFile::kSignFile, path);
  }
  return true;
}

bool ComparisonRun::ChooseEncodings() {
  bool unicode = options_.unicode;
  // A source this run does not use must not report an earlier run's.
  encodings_.fill(Encoding::kBig5);
  for (int k = 0; k < sources_.count; ++k) {
    const std::filesystem::path& path = options_.sources[k];
    // Only a regular file is looked at ahead: reading a pipe would lose what
    // the run must read. A file that cannot be read is refused later, when
    // it is opened.
    std::error_code ec;
    Encoding detected = Encoding::kBig5;
    if (options_.encodings[k] == EncodingChoice::kAuto &&
        std::filesystem::is_regular_file(path, ec)) {
      detected = DetectFileEncoding(path).value_or(Encoding::kBig5);
    }
    encodings_[k] = ResolveEncoding(options_.encodings[k], detected);
    unicode = unicode || IsUnicodeEncoding(encodings_[k]);
  }
  sign_file_encoding_.reset();
  if (options_.use_sign_file) {
    std::error_code ec;
    if (std::filesystem::is_regular_file(options_.sign_file, ec)) {
      sign_file_encoding_ = DetectFileEncoding(options_.sign_file);
    }
  }
  if (!unicode) return true;
  unicode_ = std::make_unique<UnicodeReaders>();
  for (int k = 0; k < sources_.count; ++k) {
    unicode_->sources[k] = std::make_unique<UnicodeTokenReader>(
        encodings_[k], notations_, options_.fold_notations);
  }
  return true;
}

void ComparisonRun::ReadLikeTheWalk(
    UnicodeTokenReader& reader, const std::vector<IgnoredStretch>& stretches) {
  reader.SetIgnoredStretches(stretches);
  reader.SetUnorderedNotes(
      options_.notes_unordered ? &unicode_->notes : nullptr, &unicode_->signs);
}

void ComparisonRun::SetUnicodeTokens(
    const std::vector<IgnoredStretch>& stretches) {
  for (int k = 0; k < sources_.count; ++k) {
    ReadLikeTheWalk(*unicode_->sources[k], stretches);
  }
  // A stretch is skipped like an ignored symbol, in every source.
  if (!stretches.empty()) unicode_->signs.Add(kIgnoredStretchKey);
}

bool ComparisonRun::LoadUnicodeSignFileAsBig5(Encoding encoding) {
  std::string bytes;
  switch (ReadWholeFile(options_.sign_file, &bytes)) {
    case WholeFileRead::kRead:
      break;
    case WholeFileRead::kCannotRead:
      return Refuse(RunErrorKind::kReadFailed, RunFile::kSignFile,
                    options_.sign_file);
    case WholeFileRead::kTooLarge:
      return Refuse(RunErrorKind::kTooLarge, RunFile::kSignFile,
                    options_.sign_file);
  }
  std::unique_ptr<SourceStream> big5 = SourceStream::FromBytes(
      UnicodeSignsToBig5(bytes, encoding, options_.fold_notations));
  tessel::LoadSignFile(*reader_, *big5, signs_);
  return true;
}

bool ComparisonRun::LoadUnicodeSigns() {
  UnicodeSignSet& signs = unicode_->signs;
  signs.Clear();
  if (options_.use_sign_file) {
    const std::filesystem::path& path = options_.sign_file;
    std::unique_ptr<SourceStream> file = SourceStream::OpenFile(path);
    if (file == nullptr || file->Length() < 0) {
      return Refuse(RunErrorKind::kOpenFailed, RunFile::kSignFile, path);
    }
    const Encoding encoding = sign_file_encoding_.value_or(Encoding::kBig5);
    file->Skip(ByteOrderMarkLength(encoding, file->Peek(3)));
    UnicodeTokenReader reader(encoding, notations_, options_.fold_notations);
    for (Key key = reader.ReadKey(*file); key != kEndOfSource;
         key = reader.ReadKey(*file)) {
      if (file->Tell() > static_cast<std::int64_t>(kMaxWholeFileSize)) {
        return Refuse(RunErrorKind::kTooLarge, RunFile::kSignFile, path);
      }
      if (key != kLineFeedKey && key != kCarriageReturnKey) signs.Add(key);
    }
    if (file->Error()) {
      return Refuse(RunErrorKind::kReadFailed, RunFile::kSignFile, path);
    }
  }
  if (options_.use_sign_memo) {
    signs.LoadSignMemo(options_.sign_memo, options_.sign_memo_encoding);
  }
  return true;
}

void ComparisonRun::StartUnicodeShortcuts() {
  // The one place where a Unicode run's shortcuts are turned off; see
  // UnicodeShortcutEncoding for when.
  const std::optional<Encoding> encoding = UnicodeShortcutEncoding(
      std::span<const Encoding>(encodings_.data(),
                                static_cast<std::size_t>(sources_.count)),
      !options_.ignore_between.empty() || options_.notes_unordered);
  if (encoding) {
    unicode_->shortcuts = std::make_unique<UnicodeShortcuts>(
        *encoding, options_.fold_notations, unicode_->signs);
  }
}

bool ComparisonRun::LoadVariantTables() {
  variant_table_ = VariantTable();
  variant_keys_ = VariantKeys();
  if (options_.variant_tables.empty()) return true;
  VariantTableBuilder builder([](std::uint16_t code) -> char32_t {
    return Cp950ToUnicode(code).value_or(0);
  });
  const VariantTableError error = builder.AddList(options_.variant_tables);
  if (!error.ok()) {
    variant_table_error_ = error;
    return Refuse(RunErrorKind::kVariantTable, RunFile::kNone, {});
  }
  // A Unicode run keys characters through the table itself, and compares
  // each character as its canonical singleton.
  if (unicode_ != nullptr) builder.JoinCanonicalForms();
  variant_table_ = builder.Build();
  if (unicode_ != nullptr) {
    unicode_->variants = &variant_table_;
  } else {
    variant_keys_ = VariantKeys(variant_table_, notations_);
  }
  return true;
}

bool ComparisonRun::OpenSources() {
  for (int k = 0; k < sources_.count; ++k) {
    sources_.streams[k] = SourceStream::OpenFile(options_.sources[k]);
    if (sources_.streams[k] == nullptr) {
      return Refuse(RunErrorKind::kOpenFailed, SourceFile(k),
                    options_.sources[k]);
    }
    sources_.names[k] = NativeName(options_.sources[k]);
    const std::u8string utf8 = options_.sources[k].u8string();
    sources_.utf8_names[k].assign(utf8.begin(), utf8.end());
  }
  return true;
}

bool ComparisonRun::CheckOverwrites() {
  std::vector<std::filesystem::path> inputs;
  for (int k = 0; k < sources_.count; ++k) {
    inputs.push_back(options_.sources[k]);
  }
  if (options_.use_sign_file) inputs.push_back(options_.sign_file);
  for (const auto& other : options_.other_inputs) inputs.push_back(other);

  std::vector<std::pair<std::filesystem::path, RunFile>> outputs;
  for (int k = 0; k < sources_.count; ++k) {
    outputs.emplace_back(options_.results[k], ResultFile(k));
  }
  outputs.emplace_back(options_.difference, RunFile::kDifference);
  for (const auto& report : options_.report_outputs) {
    outputs.emplace_back(report, RunFile::kReport);
  }

  for (std::size_t j = 0; j < outputs.size(); ++j) {
    const auto& [output, file] = outputs[j];
    if (IsCharacterDevice(output)) continue;
    bool clash = false;
    for (const auto& input : inputs) clash = clash || SameFile(output, input);
    for (std::size_t i = 0; i < j; ++i) {
      clash = clash || SameFile(output, outputs[i].first);
    }
    if (clash) return Refuse(RunErrorKind::kWouldOverwrite, file, output);
  }
  return true;
}

bool ComparisonRun::OpenOutputs() {
  std::vector<std::tuple<std::filesystem::path, OutputStream::Mode, RunFile,
                         std::unique_ptr<OutputStream>*>>
      outputs;
  for (int k = 0; k < sources_.count; ++k) {
    outputs.emplace_back(options_.results[k], OutputStream::Mode::kBinary,
                         ResultFile(k), &outputs_.results[k]);
  }
  outputs.emplace_back(options_.difference, OutputStream::Mode::kText,
                       RunFile::kDifference, &outputs_.difference);

  // Every output must open before any is emptied: a run that cannot start
  // leaves the results of the last one whole, and creates nothing.
  std::vector<std::filesystem::path> created;
  for (const auto& [path, mode, file, stream] : outputs) {
    bool made = false;
    const bool ok = CanOpenForWriting(path, &made);
    if (made) created.push_back(path);
    if (!ok) {
      std::error_code ec;
      for (const auto& made_path : created) {
        std::filesystem::remove(made_path, ec);
      }
      return Refuse(RunErrorKind::kOpenFailed, file, path);
    }
  }
  for (const auto& [path, mode, file, stream] : outputs) {
    *stream = OutputStream::OpenFile(path, mode);
    if (*stream == nullptr) {
      return Refuse(RunErrorKind::kOpenFailed, file, path);
    }
  }
  return true;
}

bool ComparisonRun::StartFeed() {
  std::array<std::unique_ptr<SourceStream>, kMaxSources> readers;
  for (int k = 0; k < sources_.count; ++k) {
    readers[k] = SourceStream::OpenFile(options_.sources[k]);
    if (readers[k] == nullptr) {
      return Refuse(RunErrorKind::kOpenFailed, SourceFile(k),
                    options_.sources[k]);
    }
  }
  if (unicode_ == nullptr) {
    feed_ = std::make_unique<DifferenceFeed>(
        sinks_, *reader_, std::move(readers), sources_.count);
    if (variant_keys_.active()) {
      feed_->SetCompareKey(
          [this](Code code) { return variant_keys_.Key(code); });
    }
    feed_->Begin(DescribeRun(options_, sources_, signs_, notations_));
    return true;
  }
  // Made like the walk's readers, so that every span reads as the walk
  // read it.
  std::array<std::unique_ptr<UnicodeTokenReader>, kMaxSources> tokens;
  const std::vector<IgnoredStretch> stretches = IgnoredStretchesOf(options_);
  for (int k = 0; k < sources_.count; ++k) {
    tokens[k] = std::make_unique<UnicodeTokenReader>(encodings_[k], notations_,
                                                     options_.fold_notations);
    ReadLikeTheWalk(*tokens[k], stretches);
  }
  feed_ = std::make_unique<DifferenceFeed>(sinks_, std::move(tokens),
                                           unicode_->signs, std::move(readers),
                                           sources_.count);
  if (unicode_->variants != nullptr) {
    feed_->SetCompareKey([this](Key key) { return unicode_->CompareKey(key); });
  }
  feed_->Begin(DescribeUnicodeRun(options_, sources_, encodings_,
                                  unicode_->signs, notations_));
  return true;
}

bool ComparisonRun::StartRun() {
  sources_.count = options_.three_files ? 3 : 2;
  signs_.Clear();
  reader_ = std::make_unique<TokenReader>(notations_, signs_,
                                          options_.fold_notations);
  const std::vector<IgnoredStretch> stretches_given =
      IgnoredStretchesOf(options_);
  reader_->SetIgnoredStretches(stretches_given);
  look_ahead_ = std::make_unique<LookAhead>(options_.window_size);
  look_ahead_->auto_window = options_.auto_window;
  look_ahead_->max_window = options_.max_window;

  // With both set, the memo governs: it is loaded last, over the file's
  // symbols. The file is still read, so its errors are still reported and
  // its notations still enter the table. Neither front end sets both.
  ChooseEncodings();
  if (unicode_ != nullptr) {
    if (!LoadUnicodeSigns()) return false;
    SetUnicodeTokens(stretches_given);
    StartUnicodeShortcuts();
  } else {
    if (options_.use_sign_file) {
      const bool loaded =
          sign_file_encoding_ && IsUnicodeEncoding(*sign_file_encoding_)
              ? LoadUnicodeSignFileAsBig5(*sign_file_encoding_)
              : LoadSignFile();
      if (!loaded) return false;
    }
    if (options_.use_sign_memo) {
      signs_.LoadSignMemo(options_.sign_memo_encoding == Encoding::kBig5
                              ? options_.sign_memo
                              : UnicodeSignsToBig5(options_.sign_memo,
                                                   options_.sign_memo_encoding,
                                                   false));
    }
  }
  // After the symbols: a sign file's "(a/b)" is symbols, not a note.
  reader_->SetUnorderedNotes(options_.notes_unordered);
  // A table at fault refuses the run before any output is touched.
  if (!LoadVariantTables()) return false;

  if (!OpenSources() || !CheckOverwrites() || !OpenOutputs()) return false;

  try {
    // A growing look-ahead claims the rest of its memory as it grows.
    const std::int32_t first_window =
        options_.auto_window ? std::min(kAutoFirstWindow, options_.max_window)
                             : options_.window_size;
    if (unicode_ != nullptr) {
      look_ahead_->wide_kept.Reserve(sources_.count, first_window);
    } else {
      look_ahead_->kept.Reserve(sources_.count, first_window);
    }
  } catch (const std::bad_alloc&) {
    return Refuse(RunErrorKind::kOutOfMemory, RunFile::kNone, {});
  }

  diff_count_ = 0;
  variant_count_ = 0;
  host_.SetDiffCount(0);
  SourceStream& first = *sources_.streams[0];
  host_.SetProgressMaximum(std::max<std::int64_t>(first.Length(), 0));
  first.Seek(0);
  if (unicode_ != nullptr) CopyByteOrderMarks(*unicode_, sources_, outputs_);
  // Last, so that sinks hear of no run that could not start.
  return sinks_.empty() || StartFeed();
}

namespace {

// Reads codes from `src` until one is compared or the source has ended,
// writing the ignored ones to `out` and counting line feeds. Returns the
// code that ended the advance.
inline Code Advance(TokenReader& reader, SourceStream& src, OutputStream& out,
                    std::int64_t& lines) {
  for (;;) {
    const Code code = reader.ReadToken(src);
    if (!reader.IsIgnored(code)) return code;
    // The end is among the ignored codes, but ends the advance.
    if (code == kEndOfSource) return code;
    if (code == kLineFeed) ++lines;
    reader.WriteCodeText(code, out);
  }
}

// After n failed attempts in a row, the next comes 2^n passes later.
constexpr int kMostSharedBackoff = 6;

}  // namespace

bool ComparisonRun::CheckReadErrors() {
  for (int k = 0; k < sources_.count; ++k) {
    if (sources_.streams[k]->Error()) {
      return Refuse(RunErrorKind::kReadFailed, SourceFile(k),
                    options_.sources[k]);
    }
  }
  return true;
}

void ComparisonRun::TryShortcuts(WalkPace& pace) {
  // In fast mode no pass is seen from outside, so a stretch that every
  // source holds alike may be copied whole. Where the sources differ in
  // layout the attempt fails at once; it is then not repeated for a while.
  // The shortcuts stop at every byte that may begin an ignored stretch or a
  // note, so they never end inside one: the walk reads those.
  if (--pace.passes_to_shared_try > 0) return;
  PaceShortcuts(
      pace,
      CopySharedStretch(*reader_, sources_, outputs_, position_) > 0 ||
          CopyAgreeingStretch(*reader_, sources_, outputs_, position_) > 0);
}

void ComparisonRun::TryUnicodeShortcuts(WalkPace& pace) {
  const UnicodeShortcuts* shortcuts = unicode_->shortcuts.get();
  if (shortcuts == nullptr) return;
  if (--pace.passes_to_shared_try > 0) return;
  PaceShortcuts(
      pace,
      shortcuts->CopySharedStretch(sources_, outputs_, position_) > 0 ||
          shortcuts->CopyAgreeingStretch(sources_, outputs_, position_) > 0);
}

void ComparisonRun::PaceShortcuts(WalkPace& pace, bool copied) {
  if (copied) {
    // A copy moved the sources on without a pass: the timer is looked at
    // on the next one.
    pace.passes_to_tick_check = 0;
    pace.shared_misses = 0;
    pace.passes_to_shared_try = 0;
  } else {
    // The longer the sources go on differing, the rarer the attempts.
    pace.shared_misses = std::min(pace.shared_misses + 1, kMostSharedBackoff);
    pace.passes_to_shared_try = 1 << pace.shared_misses;
  }
}

int ComparisonRun::AdvanceSources() {
  int ended = 0;
  for (int k = 0; k < sources_.count; ++k) {
    position_.current[k] = Advance(*reader_, *sources_.streams[k],
                                   *outputs_.results[k], position_.lines[k]);
    if (position_.current[k] == kEndOfSource) ++ended;
  }
  // With two sources the third code mirrors the first, so that one test
  // compares sources 1 and 2 only.
  if (sources_.count == 2) position_.current[2] = position_.current[0];
  return ended;
}

int ComparisonRun::AdvanceSourcesUnicode() {
  int ended = 0;
  for (int k = 0; k < sources_.count; ++k) {
    position_.current[k] = AdvanceUnicode(
        *unicode_->sources[k], unicode_->signs, *sources_.streams[k],
        *outputs_.results[k], position_.lines[k]);
    if (position_.current[k] == kEndOfSource) ++ended;
  }
  if (sources_.count == 2) position_.current[2] = position_.current[0];
  return ended;
}

bool ComparisonRun::SourcesAgree() {
  const auto& current = position_.current;
  if (current[0] == current[1] && current[1] == current[2]) return true;
  // Keys are looked up only where the codes differ, and never without a
  // table, so a run without one compares exactly as ever.
  if (!variant_keys_.active()) return false;
  const Code key = variant_keys_.Key(current[0]);
  if (variant_keys_.Key(current[1]) != key ||
      variant_keys_.Key(current[2]) != key) {
    return false;
  }
  RecordVariant();
  return true;
}

bool ComparisonRun::SourcesAgreeUnicode() {
  const auto& current = position_.current;
  if (current[0] == current[1] && current[1] == current[2]) return true;
  // Keys are joined only where they differ, and never without a table.
  if (unicode_->variants == nullptr) return false;
  const Key key = unicode_->CompareKey(current[0]);
  if (unicode_->CompareKey(current[1]) != key ||
      unicode_->CompareKey(current[2]) != key) {
    return false;
  }
  RecordVariantUnicode();
  return true;
}

void ComparisonRun::RecordVariantUnicode() {
  ++variant_count_;
  // The reports hear of a variant through the feed, as in a Big5 run.
  if (variant_sink_ == nullptr && !feed_) return;
  VariantMet met;
  met.source_count = sources_.count;
  for (int k = 0; k < sources_.count; ++k) {
    const Key key = position_.current[k];
    const std::int64_t length = unicode_->sources[k]->LastLength();
    met.lines[k] = position_.lines[k];
    met.offsets[k] = sources_.streams[k]->Tell() - length;
    met.lengths[k] = length;
    met.codes[k] = key;
    // Only characters join a class, so every key here is a character's.
    met.characters[k] = static_cast<char32_t>(key - kCharacterKeyBase);
  }
  if (feed_) feed_->Variant(met);
  if (variant_sink_ != nullptr) variant_sink_->Variant(met);
}

void ComparisonRun::RecordVariant() {
  ++variant_count_;
  if (variant_sink_ == nullptr && !feed_) return;
  VariantMet met;
  met.source_count = sources_.count;
  for (int k = 0; k < sources_.count; ++k) {
    const Code code = position_.current[k];
    const std::int64_t length =
        IsDoubleByteCode(code)
            ? 2
            : (IsSingleByteCode(code)
                   ? 1
                   : static_cast<std::int64_t>(
                         reader_->TokenLength(code, *sources_.streams[k])));
    met.lines[k] = position_.lines[k];
    met.offsets[k] = sources_.streams[k]->Tell() - length;
    met.lengths[k] = length;
    met.codes[k] = code;
    met.characters[k] = variant_keys_.Character(code);
  }
  if (feed_) feed_->Variant(met);
  if (variant_sink_ != nullptr) variant_sink_->Variant(met);
}

void ComparisonRun::WriteAgreeingUnicode() {
  for (int k = 0; k < sources_.count; ++k) {
    unicode_->sources[k]->WriteLast(*outputs_.results[k], encodings_[k]);
  }
}

void ComparisonRun::WriteAgreeingCodes() {
  for (int k = 0; k < sources_.count; ++k) {
    reader_->WriteTokenText(position_.current[k], *sources_.streams[k],
                            *outputs_.results[k]);
  }
}

bool ComparisonRun::WriteDifferenceAndResync() {
  const bool unicode = unicode_ != nullptr;
  bool found = false;
  try {
    found = unicode ? FindResyncUnicode(*unicode_, sources_, position_,
                                        *look_ahead_, spans_)
                    : FindResync(*reader_, sources_, position_, *look_ahead_,
                                 spans_, variant_keys_);
  } catch (const std::bad_alloc&) {
    // A growing look-ahead may ask for more than the machine has.
    Refuse(RunErrorKind::kOutOfMemory, RunFile::kNone, {});
    return Fail();
  }
  if (!CheckReadErrors()) return Fail();
  if (unicode) {
    WriteDifferenceUnicode(*unicode_, sources_, position_, spans_, outputs_);
  } else {
    WriteDifference(*reader_, sources_, position_, spans_, outputs_);
  }
  ++diff_count_;
  if (feed_) feed_->Difference(diff_count_, position_, spans_);
  host_.SetDiffCount(diff_count_);
  if (!found) {
    // Every look-ahead reached the end of its source: the rest was
    // reported, and the walk finishes by itself.
    bool all_ended = true;
    for (int k = 0; k < sources_.count; ++k) {
      all_ended &= position_.current[k] == kEndOfSource;
    }
    found = all_ended;
  }
  if (found && diff_count_ < options_.diff_limit) return true;
  if (unicode) {
    WriteClosingLinesUnicode(*unicode_, sources_, position_, *look_ahead_,
                             outputs_);
  } else {
    WriteClosingLines(sources_, position_, *look_ahead_, outputs_);
  }
  WriteVariantCountLine();
  outcome_ = found ? RunOutcome::kCutOffLimit : RunOutcome::kCutOffNoAnchor;
  EndRun();
  return false;
}

bool ComparisonRun::PollHost(WalkPace& pace, bool differed) {
  // Fast mode processes no events, so nothing can turn it off again; the
  // host is not asked after it first said yes.
  if (!pace.fast) {
    pace.fast = host_.FastMode();
    if (!pace.fast) host_.ProcessEvents();
  }
  if (pace.fast && !differed && --pace.passes_to_tick_check > 0) return false;
  pace.passes_to_tick_check = kFastPassesPerTickCheck;
  if (!host_.TimerTick()) return false;
  host_.SetProgressPosition(sources_.streams[0]->Tell());
  if (host_.StopRequested()) return true;
  host_.ClearTimerTick();
  return false;
}

bool ComparisonRun::AnySourceAtEndOfFile() const {
  for (int k = 0; k < sources_.count; ++k) {
    if (sources_.streams[k]->Eof()) return true;
  }
  return false;
}

void ComparisonRun::WriteVariantCountLine() {
  if (unicode_ != nullptr) {
    if (unicode_->variants != nullptr) {
      WriteVariantCountUnicode(variant_count_, outputs_);
    }
  } else if (variant_keys_.active()) {
    WriteVariantCount(variant_count_, outputs_);
  }
}

void ComparisonRun::EndOfSources() {
  if (unicode_ != nullptr) {
    WriteEndLineUnicode(outputs_);
  } else {
    WriteEndLine(outputs_);
  }
  WriteVariantCountLine();
  outcome_ = RunOutcome::kCompleted;
  EndRun();
}

void ComparisonRun::LeaveWalk() {
  if (!EndRun()) return;
  outcome_ = host_.StopRequested() ? RunOutcome::kStopped
                                   : RunOutcome::kLeftAtEndOfFile;
}

void ComparisonRun::Walk() {
  // Chosen once per run, so that a Big5 run's passes never ask.
  if (unicode_ != nullptr) {
    WalkAll<true>();
  } else {
    WalkAll<false>();
  }
}

template <bool kUnicode>
void ComparisonRun::WalkAll() {
  WalkPace pace;
  for (;;) {
    if (pace.fast) {
      if constexpr (kUnicode) {
        TryUnicodeShortcuts(pace);
      } else {
        TryShortcuts(pace);
      }
    }
    const int ended = kUnicode ? AdvanceSourcesUnicode() : AdvanceSources();
    // A read error reads as the end, so it is looked for only then.
    if (ended > 0 && !CheckReadErrors()) {
      Fail();
      return;
    }
    if (ended == sources_.count) {
      EndOfSources();
      return;
    }

    const bool differed = kUnicode ? !SourcesAgreeUnicode() : !SourcesAgree();
    if (!differed) {
      if constexpr (kUnicode) {
        WriteAgreeingUnicode();
      } else {
        WriteAgreeingCodes();
      }
    } else if (!WriteDifferenceAndResync()) {
      return;
    }
    if (PollHost(pace, differed)) break;

    // Only a read that meets the end sets the indicator, and such a read
    // yields 0; a difference leaves every source repositioned.
    if ((ended > 0 || differed) && AnySourceAtEndOfFile()) break;
  }
  LeaveWalk();
}

RunStatus ComparisonRun::RunComparison(const RunOptions& options) {
  options_ = options;
  outcome_ = RunOutcome::kFailed;
  errors_.clear();
  diff_count_ = 0;
  reached_window_ = 0;
  lines_reached_ = {1, 1, 1};
  variant_count_ = 0;
  if (!StartRun()) {
    Fail();
  } else {
    Walk();
  }
  if (feed_) {
    feed_->End(ReportOutcomeOf(outcome_), diff_count_);
    feed_.reset();
  }
  return RunStatus{outcome_,
                   diff_count_,
                   variant_count_,
                   std::move(errors_),
                   reached_window_,
                   lines_reached_,
                   std::exchange(variant_table_error_, {}),
                   encodings_};
}

bool ComparisonRun::EndRun() {
  if (sources_.streams[0] != nullptr) {
    host_.SetProgressPosition(sources_.streams[0]->Tell());
  }
  if (look_ahead_ != nullptr) reached_window_ = look_ahead_->reached_window;
  // Only a run whose sources were opened has reached any line.
  if (sources_.streams[0] != nullptr) lines_reached_ = position_.lines;
  if (feed_ && sources_.streams[0] != nullptr) {
    std::array<std::int64_t, kMaxSources> reached{};
    for (int k = 0; k < sources_.count; ++k) {
      reached[k] = sources_.streams[k]->Tell();
    }
    feed_->CatchUp(reached, position_);
  }
  look_ahead_.reset();
  signs_.Clear();
  for (auto& source : sources_.streams) source.reset();

  // Every output is closed; the first that failed is reported.
  bool written = true;
  const auto close = [&](std::unique_ptr<OutputStream>& out,
                         const std::filesystem::path& path, RunFile file) {
    if (out == nullptr) return;
    if (!out->Close() && written) {
      written = Refuse(RunErrorKind::kWriteFailed, file, path);
    }
    out.reset();
  };
  for (int k = 0; k < kMaxSources; ++k) {
    close(outputs_.results[k], options_.results[k], ResultFile(k));
  }
  close(outputs_.difference, options_.difference, RunFile::kDifference);
  sources_ = RunSources{};
  position_ = WalkPosition{};
  spans_ = DifferenceSpans{};
  reader_.reset();
  unicode_.reset();
  variant_keys_ = VariantKeys();
  variant_table_ = VariantTable();
  if (!written) outcome_ = RunOutcome::kFailed;
  return written;
}

}  // namespace tessel
