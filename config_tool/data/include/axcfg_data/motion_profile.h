#pragma once
// CMotionProfile: the motion a sequence of positioning tables will make,
// worked out from the document before it runs. From a sheet and a starting
// table No. it follows the chain of tables (E and J end it, C continues
// after a stop and the dwell time, P passes on without stopping, a jump
// table No. goes to that table), plans each movement and gives position
// and speed of every member axis against time.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "axcfg_data/motion_move.h"
#include "axcfg_data/motion_path.h"

namespace axcfg {

class CAxisCfgDoc;

// One member axis of the sheet, with the units its values are given in.
struct ProfileAxis {
  int axis = 0;     // axis index 0..7
  char letter = 'X';
  uint16_t unitCode = 0;
  int decimals = 0;  // of the unit of position, for showing values
};

// One table of the chain.
struct ProfileMove {
  int tableNo = 0;
  uint8_t controlMethod = 0;
  uint8_t interpPattern = 0;
  double startTime = 0;  // s from the start of the sequence
  double dwell = 0;      // s waited after the stop (none after a pass table)
  MovePlan plan;
  CMotionPath path;

  double MoveEnd() const { return startTime + plan.Duration(); }
  double EndTime() const { return MoveEnd() + dwell; }
};

enum class ProfileEnd {
  Ended,    // an E or J table ended the sequence
  Repeats,  // the chain came back to a table already run
  Invalid,  // a table with an invalid value (or a missing row) stopped it
};

struct ProfileState {
  double time = 0;
  int move = -1;  // index into Moves(), -1 before the first
  MotionPoint position{};
  MotionPoint speed{};     // of each member, signed, units/s
  double pathSpeed = 0;    // along the path (the long axis for pattern 1)
};

class CMotionProfile {
 public:
  // Works out the sequence from table No. startTableNo of the sheet of
  // `entry`, every member starting at position 0.
  CMotionProfile(const CAxisCfgDoc& doc, uint32_t entry, int startTableNo);

  uint32_t Entry() const { return entry_; }
  int StartTableNo() const { return startTableNo_; }
  const std::vector<ProfileAxis>& Axes() const { return axes_; }
  const std::vector<ProfileMove>& Moves() const { return moves_; }

  ProfileEnd End() const { return end_; }
  // The table No. the chain would run again (ProfileEnd::Repeats).
  int RepeatsFrom() const { return repeatsFrom_; }
  // The data check's message for the table that stopped the preview
  // (ProfileEnd::Invalid), and that table's No.
  const std::string& Message() const { return message_; }
  int InvalidTableNo() const { return invalidTableNo_; }

  double Duration() const { return moves_.empty() ? 0.0 : moves_.back().EndTime(); }
  // Positions and speeds at a time (held at the ends outside the sequence).
  ProfileState At(double time) const;
  // `count` (>= 2) states evenly spread over the whole sequence.
  std::vector<ProfileState> Sample(int count) const;

 private:
  void Walk(const CAxisCfgDoc& doc);
  bool RowIsValid(const CAxisCfgDoc& doc, int k);

  uint32_t entry_ = 0;
  int startTableNo_ = 0;
  std::vector<ProfileAxis> axes_;
  std::vector<ProfileMove> moves_;
  ProfileEnd end_ = ProfileEnd::Ended;
  int repeatsFrom_ = 0;
  int invalidTableNo_ = 0;
  std::string message_;
};

}  // namespace axcfg
