// Writing the screen description that driftglow-still and the viewer's saved pictures share.
#include "app/screen_json.h"

#include <charconv>
#include <cmath>
#include <string>
#include <string_view>
#include <utility>

#include "composition/composition.h"
#include "core/version.h"
#include "scene/scene.h"

namespace {

void appendText(std::string& out, std::string_view text) {
  static const char kHex[] = "0123456789abcdef";
  out += '"';
  for (unsigned char ch : text) {
    if (ch == '"' || ch == '\\') {
      out += '\\';
      out += static_cast<char>(ch);
    } else if (ch < 0x20) {
      out += "\\u00";
      out += kHex[ch >> 4];
      out += kHex[ch & 15];
    } else {
      out += static_cast<char>(ch);
    }
  }
  out += '"';
}

template <class Integer>
void appendInteger(std::string& out, Integer value) {
  char text[24];
  out.append(text, std::to_chars(text, text + sizeof text, value).ptr);
}

void appendField(std::string& out, std::string_view name) {
  appendText(out, name);
  out += ':';
}

}  // namespace

std::string jsonFloat(float value) {
  if (std::isnan(value)) return "\"nan\"";
  if (std::isinf(value)) return value > 0 ? "\"inf\"" : "\"-inf\"";
  char text[32];
  return std::string(text, std::to_chars(text, text + sizeof text, value, std::chars_format::general, 9).ptr);
}

std::string screenJson(const SPIX* scene, const int32_t seeds[3], int width, int height) {
  std::string out = "{";
  appendField(out, "seeds");
  out += '[';
  for (int i = 0; i < 3; ++i) {
    if (i > 0) out += ',';
    appendInteger(out, seeds[i]);
  }
  out += "],";
  appendField(out, "canvas");
  out += '[';
  appendInteger(out, width);
  out += ',';
  appendInteger(out, height);
  out += "],";
  appendField(out, "graphics");
  appendInteger(out, scene ? scene->GraphicsCount() : 0);
  out += ",\n";
  appendField(out, "formulas");
  out += '[';
  for (int v = 0; v < 10; ++v) {
    if (v > 0) out += ',';
    appendText(out, composition.formulas[v]);
  }
  out += "],\n";
  appendField(out, "base_colour");
  appendInteger(out, composition.baseColour);
  out += ',';
  appendField(out, "params");
  out += '{';
  const std::pair<const char*, float> parameters[] = {
      {"a", composition.a},   {"b", composition.b},   {"c", composition.c}, {"d", composition.d},
      {"e1", composition.e1}, {"e2", composition.e2}, {"f", composition.f}};
  for (size_t i = 0; i < std::size(parameters); ++i) {
    if (i > 0) out += ',';
    appendField(out, parameters[i].first);
    out += jsonFloat(parameters[i].second);
  }
  out += "},";
  appendField(out, "zoom");
  out += jsonFloat(composition.zoom);
  out += ',';
  appendField(out, "version");
  appendText(out, driftglowVersion());
  out += ",\n";
  appendField(out, "figures");
  out += "[";
  // The scene's id list holds the objects in creation order.
  bool first = true;
  const int objects = scene ? scene->objectsById.Count() : 0;
  for (int i = 0; i < objects; ++i) {
    const SPIX_OBJECT* object = scene->objectsById.ItemAt(i);
    if (!object || !object->userData) continue;
    const auto* entry = static_cast<const FigureEntry*>(object->userData);
    out += first ? "\n{" : ",\n{";
    first = false;
    appendField(out, "x");
    out += jsonFloat(object->x);
    out += ',';
    appendField(out, "y");
    out += jsonFloat(object->y);
    out += ',';
    appendField(out, "g");
    // The entry's name is the decimal text of the graphic index.
    int32_t graphic = 0;
    std::from_chars(entry->name, entry->name + std::char_traits<char>::length(entry->name), graphic);
    appendInteger(out, graphic);
    out += ',';
    appendField(out, "rotation");
    out += jsonFloat(object->rotation);
    out += ',';
    appendField(out, "scale");
    out += jsonFloat(object->scale);
    out += ',';
    appendField(out, "tint");
    appendInteger(out, object->tint);
    out += '}';
  }
  out += "\n]}\n";
  return out;
}

std::string withViewState(const std::string& json, const ViewState& view) {
  std::string field;
  appendField(field, "view");
  field += '{';
  appendField(field, "zoom");
  field += jsonFloat(view.zoom);
  field += ',';
  appendField(field, "rotation");
  field += jsonFloat(view.rotation);
  field += ',';
  appendField(field, "figure_scale");
  field += jsonFloat(view.figureScale);
  field += ',';
  appendField(field, "frames");
  appendInteger(field, view.framesShown);
  field += "},\n";
  // Keys appear only as keys: a quote inside a formula text is escaped.
  const size_t figures = json.find("\"figures\":");
  if (figures == std::string::npos) return json;
  return json.substr(0, figures) + field + json.substr(figures);
}
