#include "amortization/amort_records.h"

namespace brevika {

Date DefaultFirstPaymentDate(Date today) {
  Date next = IncDate(today, 0, 1, 0);
  int d = 0, m = 0, y = 0;
  SplitDate(next, d, m, y);
  if (d == 1) return next;
  if (++m > 12) {
    m = 1;
    ++y;
  }
  return MakeDate(1, m, y);
}

AmortInputs NewAmortInputs(Date today) {
  AmortInputs in;
  in.OrgDate = today;
  in.FrstPmtDate = DefaultFirstPaymentDate(today);
  return in;
}

ScheduleInputs ToScheduleInputs(const AmortInputs& in, const AmortChoices& opt) {
  ScheduleInputs s;
  s.PV = in.PV;
  s.NumPmts = in.NumPmts;
  s.Rate = in.Rate;
  s.Points = in.Points;
  s.OrgDate = in.OrgDate;
  s.FrstPmtDate = in.FrstPmtDate;
  s.PYR = in.PYR.index;
  s.CmpPYR = in.CmpPYR.index;
  s.AmortMthd = opt.AmortMthd;
  s.RateBasis = opt.RateBasis;
  s.PointsPaidMthd = opt.PointsPaidMthd;
  s.OtherFees = in.OtherFees;
  s.events = in.events;
  return s;
}

void ApplyScheduleTerms(const ScheduleInputs& s, AmortInputs& in, AmortChoices& choices) {
  in.PV = s.PV;
  in.NumPmts = s.NumPmts;
  in.OrgDate = s.OrgDate;
  in.FrstPmtDate = s.FrstPmtDate;
  in.PYR.Select(s.PYR);
  in.CmpPYR.Select(s.CmpPYR);
  in.Points = s.Points;
  in.Rate = s.Rate;
  choices.AmortMthd = s.AmortMthd;
  choices.RateBasis = s.RateBasis;
  in.events = s.events;
}

Message NotADateMessage(const std::string& label) {
  std::string name = label;
  if (const std::size_t amp = name.find('&'); amp != std::string::npos) name.erase(amp, 1);
  // "1st Payment Date?:" without its question: "1st Payment Date".
  while (!name.empty() && (name.back() == ':' || name.back() == '?')) name.pop_back();
  return Message{name + " is not a valid date.\n\nPlease Try Again", BoxType::Information};
}

}  // namespace brevika
