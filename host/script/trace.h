// The trace of a run: every service call, host operation, value-routine result, click
// and key event as one JSON object a line. Nothing in it depends on the target, so the
// same scenario gives the same trace natively and under Wine.
#pragma once

#include <cstdio>
#include <nlohmann/json.hpp>
#include <string>

#include "host/core/host.h"

namespace script {

class Trace : public host::Observer {
 public:
  // Writes to the file; throws std::runtime_error if it cannot be opened.
  explicit Trace(const std::string& path);
  ~Trace() override;
  Trace(const Trace&) = delete;
  Trace& operator=(const Trace&) = delete;

  // A host operation of the script itself (set, click, step, ...), with its line.
  void op(int line, const char* name, nlohmann::ordered_json fields);

  void service(const host::Instance&, int32_t code, uint32_t extra) override;
  void value(const host::Instance&, size_t element, const host::ElementState&) override;
  void handler(const host::Instance&, size_t area, PIXPOINT, uint32_t flags, int32_t result) override;
  void key_event(const host::Instance* from, const host::KeyEvent&) override;
  void lookup(const host::Instance* from, const MODULE_VAR&) override;
  void named(const host::Instance* from, const char* op, const std::string& name, int32_t result) override;

  // A number as the trace writes it: finite numbers as JSON numbers, the others as the
  // strings "nan", "inf" and "-inf" (the sign of a NaN is not kept).
  static nlohmann::ordered_json number(double v);
  static std::string hex(uint32_t v);

 private:
  void write(const nlohmann::ordered_json& j);
  FILE* f_;
};

}  // namespace script
