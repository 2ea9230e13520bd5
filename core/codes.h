// Every code that more than one part of Vell reads or writes, named once:
// handler results, run states, entry modes, node kinds, component types and
// members, host request kinds and their operations, and service numbers.
#pragma once

#include <cstdint>

#include "core/component_list.h"

namespace vell {

// What a statement, function, command or component handler answers.
enum HandlerResult : int {
  ResultNotMine = 0,  // a name dispatcher: the name is not one of its keywords
  ResultFailed = 1,
  ResultTextEnded = 2,
  ResultBlockClosed = 5,
  ResultDone = 34,
};

// Run states (the error codes of a run).
enum RunStateCode : int32_t {
  StateRunning = 0,
  ErrorMemory = 1,
  ErrorVariable = 2,
  ErrorAreaOverflow = 3,
  ErrorValueType = 4,
  ErrorUndefined = 5,
  ErrorFile = 6,
  ErrorSyntax = 7,
  ErrorUnbalanced = 8,
  ErrorArithmetic = 9,
  StateExit = 12,
  StateEnd = 13,
};

// The interpreter entry's modes.
enum EntryMode : int {
  EntryCreate = 1,   // create (or reset) the interpreter
  EntryRun = 2,      // run programText
  EntryDestroy = 3,  // clear everything and destroy the interpreter
};

// Node kinds. Kinds from NodeComponentFirst to NodeComponentLast are
// component variables (their kind is the ComponentTypeCode); a kind above
// NodeMemberAbove is a member of a component (its kind is the MemberCode).
enum NodeKind : int32_t {
  NodeFree = 0,
  NodeVariable = 1,
  NodeSub = 3,
  NodeComponentFirst = 11,
  NodeComponentLast = 29,
  NodeMemberAbove = 30,
};
constexpr bool IsComponentKind(int32_t kind) {
  return kind >= NodeComponentFirst && kind <= NodeComponentLast;
}
constexpr bool IsMemberKind(int32_t kind) { return kind > NodeMemberAbove; }

// Component types: TypeForm (11) to TypePrinterDialog (27), one per row of
// VELL_COMPONENT_TYPE_LIST.
enum ComponentTypeCode : int32_t {
  TypeNone = 0,
#define VELL_TYPE_CODE(Name, code, keyword, members) Type##Name = code,
  VELL_COMPONENT_TYPE_LIST(VELL_TYPE_CODE)
#undef VELL_TYPE_CODE
};
constexpr int32_t kFirstComponentType = TypeForm;
constexpr int32_t kLastComponentType = TypePrinterDialog;

// Component members: properties (MemberAlign ... MemberWindowState), methods
// (MemberCircle ... MemberZOrder) and events (MemberOnClick ...
// MemberOnTimer), one per row of VELL_MEMBER_LIST; and the create and delete
// operations, which are no program's keyword.
enum MemberCode : int32_t {
#define VELL_MEMBER_CODE(Name, code, keyword, arguments) Member##Name = code,
  VELL_MEMBER_LIST(VELL_MEMBER_CODE)
#undef VELL_MEMBER_CODE
      MemberCreate = 81,
  MemberDelete = 82,
};
constexpr int32_t kFirstPropertyMember = MemberAlign;
constexpr int32_t kLastPropertyMember = MemberWindowState;
constexpr int32_t kFirstMethodMember = MemberCircle;
constexpr int32_t kLastMethodMember = MemberZOrder;
constexpr int32_t kFirstEventMember = MemberOnClick;
constexpr int32_t kLastEventMember = MemberOnTimer;

// Host request kinds (slot 0 of the request slots).
enum HostRequestKind : int {
  RequestPrint = 1,    // slot 1: the value to show
  RequestMessage = 2,  // slot 1: text; answer slot 0: 1 for Yes, else 0
  RequestInput = 3,    // slot 1: prompt; answer slot 0: the text typed
  RequestRunEnded = 4,
  RequestService = 5,  // slot 1: service number; slots 2-4: arguments; answer slot 1
  RequestPump = 6,
  RequestWindow = 7,     // slot 1: a WindowOperation and its arguments
  RequestComponent = 9,  // slot 1: a ComponentOperation; slot 2: component; slot 3: member
};

// Operations of the window request (slot 1).
enum WindowOperation : int {
  WindowOutputSize = 1,    // slots 2, 3: width and height of the output area
  WindowProgramArea = 20,  // slot 2: show the program area when not 0
};

// Operations of the component request (slot 1).
enum ComponentOperation : int {
  ComponentSet = 6,  // property write, method call, event binding, create, delete
  ComponentGet = 7,  // property read
};

// Service numbers of the service request (slot 1).
enum ServiceNumber : int32_t {
  ServiceCountList = 1001,
  ServiceGetList = 1002,
  ServiceSetList = 1003,
  ServiceAddList = 1004,
  ServiceInsertList = 1005,
  ServiceExchangeList = 1006,
  ServiceDeleteList = 1007,
  ServiceSortList = 1008,
  ServiceFindList = 1009,
  ServiceGetKeyList = 1010,
  ServiceSetKeyList = 1011,
  ServiceReadFile = 2001,
  ServiceWriteFile = 2002,
  ServiceWriteAnsiFile = 2003,
  ServiceCountFileLines = 2004,
  ServiceReadFileLine = 2005,
  ServiceReadFileValue = 2006,
  ServiceWriteFileValue = 2007,
  ServiceOpenDb = 3001,
  ServiceCloseDb = 3002,
  ServiceOpenRecordset = 3003,
  ServiceCloseRecordset = 3004,
  ServiceGetRecordCount = 3005,
  ServiceGetRecordEof = 3006,
  ServiceGetRecordBof = 3007,
  ServiceFirstRecord = 3008,
  ServiceLastRecord = 3009,
  ServiceNextRecord = 3010,
  ServicePriorRecord = 3011,
  ServiceGetRecordNo = 3012,
  ServiceSetRecordNo = 3013,
  ServiceAppendRecord = 3014,
  ServiceEditRecord = 3015,
  ServicePostRecord = 3016,
  ServiceDeleteRecord = 3017,
  ServiceGetFieldCount = 3018,
  ServiceGetFieldData = 3019,
  ServiceSetFieldData = 3020,
  ServiceCommandDb = 3021,
  ServiceDatabaseFirst = ServiceOpenDb,
  ServiceDatabaseLast = ServiceCommandDb,
};
// The router's ranges: above each bound belongs to the next service.
constexpr int32_t kLastListService = 2000;
constexpr int32_t kLastTextFileService = 3000;

}  // namespace vell
