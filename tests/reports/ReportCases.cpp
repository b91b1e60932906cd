#include "ReportCases.h"

namespace tessel::testing {

SyntheticRun SmallTwoSourceRun() {
  SyntheticRun run(2, {"，"});
  run.Same("道可道，");
  run.Differ({"非", "&x-975E;"});
  run.Same("常道\n");
  run.Own(1, "\n");
  run.Differ({"會<&\"", ""});
  run.Same("名");
  run.Finish(ReportOutcome::kCompleted);
  return run;
}

SyntheticRun SmallThreeSourceRun() {
  SyntheticRun run(3, {"，", "。"});
  run.description.diff_limit = 3;
  run.Same("四州，");
  run.Differ({"爲", "為", "爲"});
  run.Own(2, "。\n");
  run.Same("天\n");
  run.Differ({"四，州", "州", ""});
  run.Same("地");
  run.Differ({"", "玄", "黃"});
  run.Finish(ReportOutcome::kCutOffLimit);
  return run;
}

SyntheticRun SmallVariantRun() {
  SyntheticRun run(2, {"，"});
  run.description.variant_tables = {"semantic", "taboo.txt"};
  run.Same("天");
  run.Alike({"爲", "為"});
  run.Same("之，");
  run.Differ({"玄", "𤣥"});
  run.Same("\n");
  run.Alike({"&x-7232;", "為"});
  run.Alike({"說", "説"});
  run.Same("也");
  run.Alike({"爲", "為"});
  run.Finish(ReportOutcome::kCompleted);
  return run;
}

SyntheticRun ThreeSourceVariantRun() {
  SyntheticRun run(3, {});
  run.description.variant_tables = {"z"};
  run.Alike({"說", "説", "說"});
  run.Differ({"甲", "乙", "乙"});
  run.Alike({"\"", "＂", "\""});
  run.Finish(ReportOutcome::kStopped);
  return run;
}

std::vector<ReportCase> ReportCases() {
  std::vector<ReportCase> cases;
  cases.push_back({"small-two", SmallTwoSourceRun()});
  cases.push_back({"small-three-limit", SmallThreeSourceRun()});
  cases.push_back({"variants-two", SmallVariantRun()});
  cases.push_back({"variants-three-stopped", ThreeSourceVariantRun()});

  SyntheticRun alike(2, {});
  alike.Same("天地玄黃\n宇宙洪荒\n");
  alike.Finish(ReportOutcome::kCompleted);
  cases.push_back({"no-difference", alike});

  // A run never hands over ill-formed UTF-8, but if it did, every report
  // must stay well-formed: each stray byte becomes U+FFFD.
  SyntheticRun ill_formed(2, {});
  ill_formed.description.sources[1].name = "b\xFE.txt";
  ill_formed.Same("天\xFF地");
  ill_formed.Differ({"\xC0", "玄"});
  ill_formed.Same("黃");
  ill_formed.Finish(ReportOutcome::kCompleted);
  cases.push_back({"ill-formed-utf8", ill_formed});

  SyntheticRun empty(3, {});
  empty.Finish(ReportOutcome::kCompleted);
  cases.push_back({"empty-sources", empty});

  const struct {
    const char* name;
    unsigned seed;
    int sources;
    int differences;
    ReportOutcome outcome;
  } kGenerated[] = {
      {"generated-two-completed", 1, 2, 60, ReportOutcome::kCompleted},
      {"generated-two-stopped", 2, 2, 25, ReportOutcome::kStopped},
      {"generated-two-no-anchor", 3, 2, 40, ReportOutcome::kCutOffNoAnchor},
      {"generated-three-completed", 4, 3, 80, ReportOutcome::kCompleted},
      {"generated-three-stopped", 5, 3, 30, ReportOutcome::kStopped},
      {"generated-three-left-at-end", 6, 3, 10,
       ReportOutcome::kLeftAtSourceEnd},
      {"generated-three-failed", 7, 3, 5, ReportOutcome::kFailed},
  };
  for (const auto& g : kGenerated) {
    cases.push_back(
        {g.name, GenerateRun(g.seed, g.sources, g.differences, 12, g.outcome)});
  }
  return cases;
}

SyntheticRun LargeRun() {
  // 46,000 segments of about 16 characters: some 900,000 characters, as
  // many as 1.8 MB of Big5.
  return GenerateRun(46, 2, 46000, 16, ReportOutcome::kCompleted);
}

}  // namespace tessel::testing
