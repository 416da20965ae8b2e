#include "protocol/ReturnCodes.h"

#include <algorithm>
#include <array>
#include <cstdio>

#include "protocol/SnaWire.h"

namespace mapvine {
namespace {

// Both tables are kept sorted by code so a lookup is a binary search.
constexpr std::array<ReturnCodeName<std::uint16_t>, 30> kPrimaryNames{{
    {0x0000, "OK"},
    {0x0100, "PARAMETER_CHECK"},
    {0x0200, "STATE_CHECK"},
    {0x0210, "INDICATION"},
    {0x02F0, "TP_BUSY"},
    {0x0300, "ALLOCATION_ERROR"},
    {0x0310, "ACTIVATION_FAIL_RETRY"},
    {0x03F0, "COMM_SUBSYSTEM_ABENDED"},
    {0x0410, "ACTIVATION_FAIL_NO_RETRY"},
    {0x04F0, "COMM_SUBSYSTEM_NOT_LOADED"},
    {0x0500, "DEALLOC_ABEND"},
    {0x0510, "LU_SESS_LIMIT_EXCEEDED"},
    {0x0600, "DEALLOC_ABEND_PROG"},
    {0x0610, "FUNCTION_NOT_SUPPORTED"},
    {0x0700, "DEALLOC_ABEND_SVC"},
    {0x0800, "DEALLOC_ABEND_TIMER"},
    {0x0900, "DEALLOC_NORMAL"},
    {0x0C00, "PROG_ERROR_NO_TRUNC"},
    {0x0D00, "PROG_ERROR_TRUNC"},
    {0x0E00, "PROG_ERROR_PURGING"},
    {0x0F00, "CONV_FAILURE_RETRY"},
    {0x1000, "CONV_FAILURE_NO_RETRY"},
    {0x1100, "SVC_ERROR_NO_TRUNC"},
    {0x11F0, "UNEXPECTED_SYSTEM_ERROR"},
    {0x1200, "SVC_ERROR_TRUNC"},
    {0x1300, "SVC_ERROR_PURGING"},
    {0x1400, "UNSUCCESSFUL"},
    {0x1800, "CNOS_PARTNER_LU_REJECT"},
    {0x2100, "CANCELLED"},
    {0xFFFF, "INVALID_VERB"},
}};

constexpr std::array<ReturnCodeName<std::uint32_t>, 135> kSecondaryNames{{
    {0x00000006, "TP_NOT_AVAIL_RETRY"},
    {0x00000007, "TP_NOT_AVAIL_NO_RETRY"},
    {0x00000008, "TPN_NOT_RECOGNIZED"},
    {0x00001B00, "NODE_NOT_STARTED"},
    {0x01000000, "BAD_TP_ID"},
    {0x01100000, "DLC_ACTIVE"},
    {0x02000000, "BAD_CONV_ID"},
    {0x02010000, "SEND_ERROR_LOG_LL_WRONG"},
    {0x02080000, "INVALID_NUMBER_OF_NODE_ROWS"},
    {0x02100000, "DUPLICATE_CP_NAME"},
    {0x03010000, "SEND_ERROR_BAD_TYPE"},
    {0x03100000, "DUPLICATE_DEST_ADDR"},
    {0x04000000, "ALLOCATION_FAILURE_NO_RETRY"},
    {0x04080000, "NODE_ROW_WGT_LESS_THAN_LAST"},
    {0x04100000, "DUPLICATE_ADJ_NODE_ID"},
    {0x05000000, "ALLOCATION_FAILURE_RETRY"},
    {0x05010000, "BAD_ERROR_DIRECTION"},
    {0x05080000, "TG_ROW_WGT_LESS_THAN_LAST"},
    {0x05100000, "DUPLICATE_PORT_NUMBER"},
    {0x06100000, "DUPLICATE_PORT_NAME"},
    {0x07100000, "INVALID_DLC_NAME"},
    {0x08100000, "INVALID_DLC_TYPE"},
    {0x09080000, "INVALID_NUMBER_OF_TG_ROWS"},
    {0x09100000, "INVALID_LINK_ACTIVE_LIMIT"},
    {0x0A080000, "SNA_DEFD_COS_CANT_BE_CHANGE"},
    {0x0B100000, "INVALID_NUM_PORTS_SPECIFIED"},
    {0x0C100000, "INVALID_PORT_NAME"},
    {0x0D100000, "INVALID_PORT_TYPE"},
    {0x0E050000, "UNRECOGNIZED_DEACT_TYPE"},
    {0x0E100000, "PORT_ACTIVE"},
    {0x0F100000, "NO_PORTS_DEFINED_ON_DLC"},
    {0x10050000, "INVALID_DLC"},
    {0x10080000, "COS_NAME_NOT_DEFD"},
    {0x10100000, "DUPLICATE_PORT"},
    {0x11000000, "BAD_CONV_TYPE"},
    {0x11080000, "SNA_DEFD_COS_CANT_BE_DELETE"},
    {0x11100000, "STOP_PORT_PENDING"},
    {0x12000000, "BAD_SYNC_LEVEL"},
    {0x12020000, "LU_NAU_ADDR_ALREADY_DEFD"},
    {0x12050000, "INVALID_SESSION_ID"},
    {0x12100000, "LINK_DEACT_IN_PROGRESS"},
    {0x13000000, "BAD_SECURITY"},
    {0x13100000, "LINK_DEACTIVATED"},
    {0x14000000, "BAD_RETURN_CONTROL"},
    {0x14100000, "LINK_ACT_BY_REMOTE"},
    {0x15020000, "INVALID_MODE_NAME"},
    {0x15100000, "LINK_ACT_BY_LOCAL"},
    {0x16000000, "PIP_LEN_INCORRECT"},
    {0x17000000, "NO_USE_OF_SNASVCMG"},
    {0x17100000, "LINK_NOT_DEFD"},
    {0x18000000, "UNKNOWN_PARTNER_MODE"},
    {0x18100000, "PS_CREATION_FAILURE"},
    {0x19100000, "TP_ACTIVE"},
    {0x1A100000, "MODE_ACTIVE"},
    {0x1B100000, "PLU_ACTIVE"},
    {0x1C100000, "INVALID_PLU_NAME"},
    {0x1D100000, "INVALID_SET_NEGOTIABLE"},
    {0x1E100000, "INVALID_MODE_NAME_SELECT"},
    {0x1F100000, "INVALID_RESPONSIBLE"},
    {0x20100000, "INVALID_DRAIN_SOURCE"},
    {0x21080000, "INVALID_CN_NAME"},
    {0x21100000, "INVALID_DRAIN_TARGET"},
    {0x22100000, "INVALID_FORCE"},
    {0x24100000, "INVALID_CLEANUP_TYPE"},
    {0x25100000, "INVALID_COS_NAME"},
    {0x26100000, "INVALID_SESSION_LIMIT"},
    {0x27100000, "INVALID_DRAIN"},
    {0x28100000, "INVALID_PRLL_SESS_SUPP"},
    {0x29100000, "INVALID_LU_NAME"},
    {0x2A100000, "MODE_NOT_RESET"},
    {0x2B100000, "MODE_RESET"},
    {0x2C100000, "CNOS_REJECT"},
    {0x2D100000, "INVALID_OP_CODE"},
    {0x31000000, "CONFIRM_ON_SYNC_LEVEL_NONE"},
    {0x32000000, "CONFIRM_BAD_STATE"},
    {0x33000000, "CONFIRM_NOT_LL_BDY"},
    {0x38100000, "DIR_ENTRY_PARENT"},
    {0x39100000, "NODE_ALREADY_STARTED"},
    {0x3B100000, "LU_ALREADY_DEFINED"},
    {0x3D100000, "PORT_INACTIVE"},
    {0x3E100000, "ACTIVATION_LIMITS_REACHED"},
    {0x3F100000, "PARALLEL_TGS_NOT_SUPPORTED"},
    {0x40100000, "DLC_INACTIVE"},
    {0x41000000, "CONFIRMED_BAD_STATE"},
    {0x41100000, "NO_LINKS_DEFINED"},
    {0x42100000, "STOP_DLC_PENDING"},
    {0x43100000, "INVALID_LS_ROLE"},
    {0x44100000, "INVALID_BTU_SIZE"},
    {0x45100000, "LAST_LINK_ON_ACTIVE_PORT"},
    {0x46100000, "DYNAMIC_LOAD_ALREADY_REGD"},
    {0x47100000, "INVALID_LIST_OPTION"},
    {0x48100000, "INVALID_RES_NAME"},
    {0x49100000, "INVALID_RES_TYPE"},
    {0x50020000, "BAD_TYPE"},
    {0x51000000, "DEALLOC_BAD_TYPE"},
    {0x51600F08, "SECURITY_NOT_VALID"},
    {0x52000000, "DEALLOC_FLUSH_BAD_STATE"},
    {0x53000000, "DEALLOC_CONFIRM_BAD_STATE"},
    {0x55000000, "DEALLOC_NOT_LL_BDY"},
    {0x57000000, "DEALLOC_LOG_LL_WRONG"},
    {0x57010000, "CNOS_MODE_NAME_REJECT"},
    {0x5C010000, "EXCEEDS_MAX_ALLOWED"},
    {0x5F010000, "CNOS_COMMAND_RACE_REJECT"},
    {0x61000000, "FLUSH_NOT_SEND_STATE"},
    {0x6C020000, "DEACT_CG_INVALID_CGID"},
    {0x86020000, "DLC_DEACTIVATING"},
    {0xA1000000, "P_TO_R_INVALID_TYPE"},
    {0xA2000000, "P_TO_R_NOT_LL_BDY"},
    {0xA3000000, "P_TO_R_NOT_SEND_STATE"},
    {0xB0020000, "INVALID_LINK_NAME_SPECIFIED"},
    {0xB1000000, "RCV_AND_WAIT_BAD_STATE"},
    {0xB1020000, "INVALID_LU_ALIAS"},
    {0xB2000000, "RCV_AND_WAIT_NOT_LL_BDY"},
    {0xB2020000, "INVALID_NUM_LS_SPECIFIED"},
    {0xB5000000, "RCV_AND_WAIT_BAD_FILL"},
    {0xC0010000, "ALREADY_STARTING"},
    {0xC1000000, "RCV_IMMD_BAD_STATE"},
    {0xC1010000, "INVALID_LINK_NAME"},
    {0xC4000000, "RCV_IMMD_BAD_FILL"},
    {0xC4020000, "INVALID_NODE_TYPE"},
    {0xCA010000, "INVALID_CP_NAME"},
    {0xCE010000, "INVALID_LIMITED_RESOURCE"},
    {0xD1000000, "RCV_AND_POST_BAD_STATE"},
    {0xD2000000, "RCV_AND_POST_NOT_LL_BDY"},
    {0xD5000000, "RCV_AND_POST_BAD_FILL"},
    {0xD7000000, "BAD_RETURN_STATUS_WITH_DATA"},
    {0xD7010000, "LOCAL_CP_NAME"},
    {0xDA010000, "LS_ACTIVE"},
    {0xDB020000, "INVALID_FQ_OWNING_CP_NAME"},
    {0xE1000000, "R_T_S_BAD_STATE"},
    {0xF2000000, "SEND_DATA_NOT_SEND_STATE"},
    {0xF4000000, "SEND_DATA_INVALID_TYPE"},
    {0xF5000000, "SEND_DATA_CONFIRM_SYNC_NONE"},
    {0xF6000000, "SEND_DATA_NOT_LL_BDY"},
    {0xFD010000, "INVALID_FQ_LU_NAME"},
}};

template <typename Code, std::size_t N>
std::string_view Lookup(const std::array<ReturnCodeName<Code>, N>& names, Code code, std::string_view fallback) {
  const auto it = std::lower_bound(names.begin(), names.end(), code,
                                   [](const ReturnCodeName<Code>& name, Code value) { return name.code < value; });
  return (it != names.end() && it->code == code) ? it->text : fallback;
}

}  // namespace

std::string_view PrimaryRcText(std::uint16_t primaryRc) {
  return Lookup(kPrimaryNames, primaryRc, "Unknown Primary RC");
}

std::string_view SecondaryRcText(std::uint32_t secondaryRc) {
  if (secondaryRc == 0) return "------";
  return Lookup(kSecondaryNames, secondaryRc, "Unknown Secondary RC");
}

std::string ReturnCodesText(const VerbStatus& status) {
  char codes[64];
  std::snprintf(codes, sizeof codes, " (primary 0x%04X, secondary 0x%08X)", status.primaryRc, status.secondaryRc);
  return std::string(PrimaryRcText(status.primaryRc)) + ", " + std::string(SecondaryRcText(status.secondaryRc)) +
         codes;
}

std::string VerbName(std::uint16_t opcode) {
  switch (opcode) {
    case snawire::kOpNodeTopologyQuery:
      return "NodeTopologyQuery";
    case snawire::kOpTgTopologyQuery:
      return "TgTopologyQuery";
    case snawire::kOpDirectoryQuery:
      return "DirectoryQuery";
    case snawire::kOpDirectoryLuQuery:
      return "DirectoryLuQuery";
    default: {
      char name[16];
      std::snprintf(name, sizeof name, "verb 0x%04X", opcode);
      return name;
    }
  }
}

std::span<const ReturnCodeName<std::uint16_t>> PrimaryRcNames() { return kPrimaryNames; }
std::span<const ReturnCodeName<std::uint32_t>> SecondaryRcNames() { return kSecondaryNames; }

}  // namespace mapvine
