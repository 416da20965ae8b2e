#include "protocol/Aping.h"

#include <array>
#include <cstdio>
#include <cstring>

#include "protocol/Ebcdic.h"
#include "protocol/ReturnCodes.h"
#include "protocol/SnaNames.h"
#include "protocol/SnaWire.h"
#include "base/Diagnostics.h"
#include "base/Trace.h"

namespace mapvine {
namespace {

// What every test sends: two 100-byte sends, echoed back.
constexpr std::uint16_t kDataLength = 100;
constexpr std::uint16_t kIterations = 2;
constexpr std::uint8_t kEcho = 1;
constexpr std::uint16_t kCount = 1;
constexpr std::uint16_t kValue = 128;
constexpr char kPartnerProgram[] = "APINGD";

VerbBlock ApingBlock(std::string_view partner) {
  VerbBlock block(snawire::kOpAping, snawire::kApingLength);
  std::array<std::uint8_t, 8> blankName;
  blankName.fill(snawire::kEbcdicBlank);
  block.SetBytes(snawire::kApingNameField, blankName);

  std::array<std::uint8_t, snawire::kApingTpNameLength> program;
  program.fill(snawire::kEbcdicBlank);
  std::memcpy(program.data(), kPartnerProgram, std::strlen(kPartnerProgram));
  AsciiToEbcdic(std::span(program).first(std::strlen(kPartnerProgram)));
  block.SetBytes(snawire::kApingTpName, program);

  block.SetU16(snawire::kApingDataLength, kDataLength);
  block.SetU16(snawire::kApingIterations, kIterations);
  block.SetU16(snawire::kApingCount, kCount);
  block.SetU8(snawire::kApingFlag, 0);
  block.SetU8(snawire::kApingEcho, kEcho);
  block.SetU16(snawire::kApingValue, kValue);

  std::array<std::uint8_t, snawire::kNameLength> partnerField;
  EncodeName(partner, partnerField);
  block.SetBytes(snawire::kApingPartner, partnerField);
  return block;
}

// The partner echoes, so every byte sent travels twice. Bytes per
// millisecond are printed as KB/sec.
constexpr std::uint32_t kBytesPerTest = kIterations * kDataLength * 2u;

void PrintRate(const char* format, std::uint32_t milliseconds) {
  if (milliseconds == 0) return;
  std::fprintf(DiagnosticsStream(), format, static_cast<unsigned long>(milliseconds),
              static_cast<unsigned long>(kBytesPerTest / milliseconds));
}

}  // namespace

ApingAnswer QueryAping(const SnaCtlFunction& snaCtl, std::string_view partner) {
  VerbBlock block = ApingBlock(partner);
  ApingAnswer answer;
  answer.status = block.Issue(snaCtl);
  if (!answer.status.Succeeded()) return answer;
  answer.allocateMs = block.U32(snawire::kApingAllocateTime);
  answer.minimumMs = block.U32(snawire::kApingMinTime);
  answer.maximumMs = block.U32(snawire::kApingMaxTime);
  answer.averageMs = block.U32(snawire::kApingAverageTime);
  return answer;
}

int ReportAping(const ApingAnswer& answer, std::string_view partner) {
  const VerbStatus& status = answer.status;
  if (!status.Succeeded()) {
    // Not shown to the user; the trace keeps the reason for whoever looks.
    if (TraceEnabled()) TraceF("APING %.*s failed: %s, %s\n", static_cast<int>(partner.size()), partner.data(),
           std::string(PrimaryRcText(status.primaryRc)).c_str(),
           std::string(SecondaryRcText(status.secondaryRc)).c_str());
    return 0;
  }
  std::fprintf(DiagnosticsStream(), "Allocate time      = %lu msecs\n", static_cast<unsigned long>(answer.allocateMs));
  PrintRate("Min Send/Rcv  time = %lu msec, rate = %lu KB/sec\n", answer.minimumMs);
  PrintRate("Max Send/Rcv  time = %lu msec, rate = %lu KB/sec\n", answer.maximumMs);
  PrintRate("Avg Send/Rcv  time = %lu msec, rate = %lu KB/sec\n", answer.averageMs);
  return 1;
}

int ApingNode(const SnaCtlFunction& snaCtl, std::string_view partner) {
  return ReportAping(QueryAping(snaCtl, partner), partner);
}

}  // namespace mapvine
