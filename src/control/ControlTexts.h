#pragma once
// The words of the compaction control in both languages, shared by its window, the acceptance
// protocol and grx1-cli.
#include "ControlEvaluation.h"
#include "platform/TextPair.h"

namespace grx {

inline constexpr TextPair kControlTitle{"Контроль уплотнения", "Compaction control"};
inline constexpr TextPair kProtocolTitle{"Протокол приёмки", "Acceptance protocol"};

inline constexpr TextPair kVerdictPass{"соответствует", "pass"};
inline constexpr TextPair kVerdictFail{"не соответствует", "fail"};
inline constexpr TextPair kVerdictTooFew{"мало точек", "too few points"};

inline constexpr TextPair kRuleEachPoint{"каждая точка", "each point"};
inline constexpr TextPair kRuleStatistical{"статистическое", "statistical"};

// The verdict's word in the language; empty for none.
inline QString verdictText(Verdict v, Language language) {
  switch (v) {
    case Verdict::Pass: return kVerdictPass.text(language);
    case Verdict::Fail: return kVerdictFail.text(language);
    case Verdict::TooFew: return kVerdictTooFew.text(language);
    case Verdict::None: break;
  }
  return {};
}

// The machine form of grx1-cli's JSON and CSV: "pass", "fail", "too_few", or empty for none.
inline const char* verdictKey(Verdict v) {
  switch (v) {
    case Verdict::Pass: return "pass";
    case Verdict::Fail: return "fail";
    case Verdict::TooFew: return "too_few";
    case Verdict::None: break;
  }
  return "";
}

}  // namespace grx
