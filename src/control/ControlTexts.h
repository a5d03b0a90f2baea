#pragma once
// The words of the compaction control in both languages, shared by its window, the acceptance
// protocol and grx1-cli.
#include "ControlEvaluation.h"
#include "platform/TextPair.h"

namespace grx {

inline constexpr TextPair kControlTitle{"Контроль уплотнения", "Compaction control"};
inline constexpr TextPair kProtocolTitle{"Протокол приёмки", "Acceptance protocol"};

// A lot as the window's chart and the protocol's charts name it.
inline constexpr TextPair kLotCaption{"Партия %1: %2 / %3", "Lot %1: %2 / %3"};

inline constexpr TextPair kVerdictPass{"соответствует", "pass"};
inline constexpr TextPair kVerdictFail{"не соответствует", "fail"};
inline constexpr TextPair kVerdictUndecided{"не определено", "undecided"};

inline constexpr TextPair kRuleEachPoint{"каждая точка", "each point"};
inline constexpr TextPair kRuleStatistical{"статистическое", "statistical"};

// The verdict's word in the language; empty for none.
inline QString verdictText(Verdict v, Language language) {
  switch (v) {
    case Verdict::Pass: return kVerdictPass.text(language);
    case Verdict::Fail: return kVerdictFail.text(language);
    case Verdict::Undecided: return kVerdictUndecided.text(language);
    case Verdict::None: break;
  }
  return {};
}

// The machine form of grx1-cli's JSON and CSV: "pass", "fail", "undecided", or empty for none.
inline const char* verdictKey(Verdict v) {
  switch (v) {
    case Verdict::Pass: return "pass";
    case Verdict::Fail: return "fail";
    case Verdict::Undecided: return "undecided";
    case Verdict::None: break;
  }
  return "";
}

// Why it is undecided, in machine form: "no_requirement", "no_impacts", "non_finite_modulus",
// "sv_not_computable", "too_few_points", "incomplete"; empty for none.
inline const char* reasonKey(Reason r) {
  switch (r) {
    case Reason::NoRequirement: return "no_requirement";
    case Reason::NoImpacts: return "no_impacts";
    case Reason::NonFiniteModulus: return "non_finite_modulus";
    case Reason::SvNotComputable: return "sv_not_computable";
    case Reason::NoCalibration: return "no_calibration";
    case Reason::TooFewPoints: return "too_few_points";
    case Reason::Incomplete: return "incomplete";
    case Reason::None: break;
  }
  return "";
}

}  // namespace grx
