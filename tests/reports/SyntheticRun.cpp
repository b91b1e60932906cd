#include "SyntheticRun.h"

#include <algorithm>
#include <random>

#include "TextEscape.h"

namespace tessel::testing {

namespace {

std::int64_t CountLineFeeds(std::string_view text) {
  return std::count(text.begin(), text.end(), '\n');
}

// The compared characters of a span, a notation "&...;" counting one.
std::int32_t CountCharacters(std::string_view compared) {
  std::int32_t count = 0;
  for (std::size_t pos = 0; pos < compared.size(); ++count) {
    const std::size_t end = compared.find(';', pos);
    if (compared[pos] == '&' && end != std::string_view::npos) {
      pos = end + 1;
      continue;
    }
    pos += reports::DecodeAt(compared, pos).length;
  }
  return count;
}

}  // namespace

SyntheticRun::SyntheticRun(int source_count,
                           std::vector<std::string> ignored_symbols)
    : source_count_(source_count) {
  description.source_count = source_count;
  static constexpr std::string_view kNames[] = {
      "edition-a.txt", "edition-b.txt", "edition-c.txt"};
  for (int k = 0; k < source_count; ++k) {
    description.sources[k].name = std::string(kNames[k]);
    description.sources[k].encoding = "utf-8";
  }
  description.window_size = 100;
  description.diff_limit = kNoReportLimit;
  description.fold_notations = true;
  description.ignored_symbols = std::move(ignored_symbols);
}

bool SyntheticRun::IsIgnored(std::string_view character) const {
  if (character.size() == 1 &&
      static_cast<unsigned char>(character[0]) < 0x20) {
    return true;
  }
  const auto& ignored = description.ignored_symbols;
  return std::find(ignored.begin(), ignored.end(), character) != ignored.end();
}

void SyntheticRun::Append(int k, std::string_view text) {
  texts[k] += text;
  lines_[k] += CountLineFeeds(text);
}

void SyntheticRun::Copy(int k, std::string_view text) {
  std::size_t pos = 0;
  while (pos < text.size()) {
    const std::size_t first = reports::DecodeAt(text, pos).length;
    const bool ignored = IsIgnored(text.substr(pos, first));
    std::size_t end = pos + first;
    while (end < text.size()) {
      const std::size_t length = reports::DecodeAt(text, end).length;
      if (IsIgnored(text.substr(end, length)) != ignored) break;
      end += length;
    }
    const std::string_view stretch = text.substr(pos, end - pos);
    events_.push_back({false, false, k, ignored, std::string(stretch), 0, {}});
    if (!ignored) compared[k] += stretch;
    Append(k, stretch);
    pos = end;
  }
}

void SyntheticRun::Same(std::string_view text) {
  for (int k = 0; k < source_count_; ++k) Copy(k, text);
}

void SyntheticRun::Own(int k, std::string_view text) { Copy(k, text); }

void SyntheticRun::Differ(const std::vector<std::string>& spans) {
  Event event{false, true, 0, false, {}, ++differences_, {}};
  for (int k = 0; k < source_count_; ++k) {
    const std::string& text = spans[k];
    std::string kept;
    std::size_t pos = 0;
    while (pos < text.size()) {
      const std::size_t length = reports::DecodeAt(text, pos).length;
      if (!IsIgnored(std::string_view(text).substr(pos, length))) {
        kept += text.substr(pos, length);
      }
      pos += length;
    }
    event.spans[k] = {lines_[k],
                      static_cast<std::int64_t>(texts[k].size()),
                      static_cast<std::int64_t>(text.size()),
                      text,
                      kept,
                      CountCharacters(kept)};
    compared[k] += kept;
    Append(k, text);
  }
  events_.push_back(std::move(event));
}

void SyntheticRun::Alike(const std::vector<std::string>& characters) {
  Event event{true, false, 0, false, {}, ++variants_, {}};
  for (int k = 0; k < source_count_; ++k) {
    const std::string& text = characters[k];
    event.spans[k] = {lines_[k],
                      static_cast<std::int64_t>(texts[k].size()),
                      static_cast<std::int64_t>(text.size()),
                      text,
                      text,
                      1};
    compared[k] += text;
    Append(k, text);
  }
  events_.push_back(std::move(event));
}

void SyntheticRun::Finish(ReportOutcome outcome) {
  end.outcome = outcome;
  end.difference_count = differences_;
  end.variant_count = variants_;
  for (int k = 0; k < source_count_; ++k) {
    end.lines[k] = lines_[k];
    end.source_ended[k] = outcome == ReportOutcome::kCompleted;
    description.sources[k].byte_size =
        static_cast<std::int64_t>(texts[k].size());
  }
}

void SyntheticRun::PlayVariant(const Event& event, DifferenceSink& sink) const {
  VariantRecord record;
  record.number = event.number;
  for (int k = 0; k < source_count_; ++k) {
    const Span& span = event.spans[k];
    VariantPlace& place = record.places[k];
    place.line = span.line;
    place.byte_offset = span.offset;
    place.byte_length = span.length;
    place.text = span.text;
    if (span.text.rfind("&x-", 0) == 0) {
      place.character =
          static_cast<char32_t>(std::stoul(span.text.substr(3), nullptr, 16));
    } else {
      place.character = reports::DecodeAt(span.text, 0).value;
    }
  }
  sink.Variant(record);
  for (int k = 0; k < source_count_; ++k) {
    sink.CopyText(k, event.spans[k].text, false);
  }
}

void SyntheticRun::Play(DifferenceSink& sink) const {
  sink.BeginRun(description);
  for (const Event& event : events_) {
    if (event.is_variant) {
      PlayVariant(event, sink);
      continue;
    }
    if (!event.is_difference) {
      sink.CopyText(event.source, event.text, event.ignored);
      continue;
    }
    DifferenceRecord record;
    record.number = event.number;
    for (int k = 0; k < source_count_; ++k) {
      const Span& span = event.spans[k];
      record.spans[k] = {span.line, span.offset,   span.length,
                         span.text, span.compared, span.count};
    }
    sink.Difference(record);
  }
  sink.EndRun(end);
}

SyntheticRun GenerateRun(unsigned seed, int source_count, int differences,
                         int segment_length, ReportOutcome outcome) {
  static const std::vector<std::string> kCharacters = {
      "天", "地", "玄", "黃", "宇", "宙", "洪", "荒",      "日", "月",
      "盈", "昃", "會", "四", "州", "爲", "為", "說",      "道", "可",
      "非", "常", "名", "<",  "&",  "\"", "a",  "&x-65E0;"};
  static const std::vector<std::string> kLayout = {"，", "。", " ", "\t",
                                                   "\x01"};
  std::mt19937 random(seed);
  const auto pick = [&](const std::vector<std::string>& from) {
    return from[random() % from.size()];
  };
  const auto word = [&](int most) {
    std::string text;
    const int length = static_cast<int>(random() % (most + 1));
    for (int i = 0; i < length; ++i) text += pick(kCharacters);
    return text;
  };

  SyntheticRun run(source_count, {"，", "。", " "});
  for (int d = 0; d < differences; ++d) {
    const int stretch = 1 + static_cast<int>(random() % (2 * segment_length));
    for (int i = 0; i < stretch; ++i) {
      run.Same(pick(kCharacters));
      if (random() % 7 == 0) run.Same(pick(kLayout));
      for (int k = 0; k < source_count; ++k) {
        if (random() % 23 == 0) run.Own(k, "\n");
        if (random() % 31 == 0) run.Own(k, pick(kLayout));
      }
    }
    std::vector<std::string> spans(source_count);
    switch (random() % 4) {
      case 0:  // one for one
        for (auto& span : spans) span = pick(kCharacters);
        break;
      case 1:  // source 1 lacks
        for (int k = 1; k < source_count; ++k) spans[k] = word(3);
        break;
      case 2:  // another lacks
        spans[0] = word(3);
        for (int k = 1; k < source_count; ++k) {
          spans[k] = random() % 2 ? "" : spans[0];
        }
        break;
      default:  // longer, ignored symbols inside
        for (auto& span : spans) span = word(2) + "，" + word(2);
        break;
    }
    // Sources 1 and 3 often agree against source 2.
    if (source_count == 3 && random() % 3 == 0) spans[2] = spans[0];
    // A difference needs two sources whose compared characters differ;
    // where the draw made them alike, source 2 gets one more.
    const auto without_comma = [](std::string text) {
      for (std::size_t at; (at = text.find("，")) != std::string::npos;) {
        text.erase(at, std::string_view("，").size());
      }
      return text;
    };
    if (without_comma(spans[0]) == without_comma(spans[1]) &&
        without_comma(spans[1]) == without_comma(spans.back())) {
      spans[1] += "州";
    }
    run.Differ(spans);
  }
  run.Same("終");
  run.Finish(outcome);
  return run;
}

}  // namespace tessel::testing
