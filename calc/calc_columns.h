// CalcColumns: runs one formula at many points at once. The points' inputs
// are columns of numbers; each step of the formula's program runs over a
// whole column in one tight loop, with the same arithmetic, the same
// 15-digit rounding and the same errors as running the formula point by
// point through CALC::Execute. A column worked out once is kept until the
// inputs change, so formulas that share a part (sin(t*a) in two of them, or
// one formula copied into another) compute it once. Needs nothing outside
// calc/.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "calc/calc_error.h"

class CALC;
struct CalcProgram;
struct CalcStatement;

class CalcColumns {
 public:
  // Starts a new set of count points with no inputs bound.
  void Reset(std::size_t count);
  std::size_t Count() const { return count_; }
  // Binds name to count values, one per point; each goes in as its value
  // text would read back (RoundValue), as if it had been Set from
  // FloatToText. A name bound again gets the new values.
  void SetInput(std::string_view name, const double* values);

  // Runs text at every point, with the inputs as variables of calc and every
  // other variable as calc holds it now, exactly as calc.Execute(text) would
  // point after point. Only texts for which the order of the points cannot
  // matter are run: a single assignment to target that reads neither target
  // nor any operand slot it has not filled itself, and calls no rnd, no
  // use1 to use3 and no decimal rounding. For any other text this returns
  // false and writes nothing. Otherwise errors[i] is the error code Execute
  // would leave for point i (0 for success, when results[i] is the value
  // assigned; results[i] is not written for a failed point) and, when
  // positions is given, positions[i] its error_pos. calc's variables are
  // not changed.
  bool Execute(CALC& calc, std::string_view text, std::string_view target, double* results, std::uint8_t* errors,
               std::int32_t* positions = nullptr);

 private:
  struct Input {
    std::string name;
    std::vector<double> values;
    std::uint32_t node = 0;
  };
  // An operand slot: a whole column, or one number shared by every point.
  // rounded tells that every value already reads back as itself from its
  // value text; only a variable set from a longer text may not.
  struct Slot {
    const double* column = nullptr;
    double number = 0.0;
    bool rounded = true;
    std::uint32_t node = 0;  // which column: equal nodes hold equal values
  };
  // An operation on two operands, each a number or a column's node.
  struct NodeKey {
    std::uint64_t left = 0;
    std::uint64_t right = 0;
    std::uint16_t code = 0;
    std::uint8_t leftForm = 0;  // 0 not read, 1 number, 2 column
    std::uint8_t rightForm = 0;
    bool operator==(const NodeKey&) const = default;
  };
  struct NodeKeyHash {
    std::size_t operator()(const NodeKey& key) const;
  };
  struct Node {
    std::uint32_t id;
    const double* kept;  // its column, once worked out without an error at any point
  };

  static bool Qualifies(const CalcProgram& program);
  bool Run(CALC& calc, const CalcProgram& program, const CalcStatement& statement, std::string_view target);
  const Input* FindInput(std::string_view name) const;
  double* Buffer(std::size_t index);
  // A column of count copies of number.
  const double* Broadcast(std::vector<double>& buffer, double number);
  void Apply(int code, int slot, int step);
  void ForgetKeptColumns();
  // Room for the next kept column; it counts as kept once keptCount_ grows.
  double* NextKeptColumn();
  // Marks every point not failed yet as failed with code at step.
  void FailAll(CalcError code, int step);

  std::size_t count_ = 0;
  std::size_t inputCount_ = 0;
  std::vector<Input> inputs_;  // the first inputCount_ are bound; the rest keep their storage
  std::vector<Slot> slots_;
  std::vector<std::vector<double>> buffers_;  // one column per operand slot
  std::vector<double> leftCopies_, rightCopies_;
  std::vector<std::uint8_t> stepErrors_;  // the error each point met in the current step
  std::vector<std::uint8_t> failedCode_;  // the first error each point met, 0 for none
  std::vector<std::int32_t> failedStep_;
  std::unordered_map<NodeKey, Node, NodeKeyHash> nodes_;
  std::vector<std::unique_ptr<double[]>> keptBlocks_;  // outlive ForgetKeptColumns, for reuse
  std::size_t keptCount_ = 0;
  std::uint32_t nextNode_ = 0;
};
