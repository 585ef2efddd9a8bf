#include "pictures/svg.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <sstream>

#include "judge/explain.h"
#include "judge/plugin_conventions.h"
#include "pictures/label_layout.h"
#include "pictures/markup.h"
#include "pictures/pane_icon.h"
#include "scene/camera_basis.h"
#include "scene/imath_values.h"

namespace ftv_cli {

namespace {

constexpr int kWidth = 800;
constexpr int kHeight = 600;
constexpr int kStatusHeight = 28;
const char* const kPalette[] = {"#e4572e", "#29335c", "#f3a712", "#669bbc", "#8fb339", "#a8577e"};

using V = Imath::V3d;
using refhost::imath;

std::string num(double v) {
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", v);
    return text;
}

constexpr int kUntagged = -1;
constexpr int kNotTurned = -2;  // carries the plug-in's stream, but the walk does not turn it

struct Polygon {
    std::vector<V> world;
    int colour;         // index into the palette, or kUntagged, kNotTurned
    std::string name;  // the mesh's
    std::string note;  // why the part that holds it does not turn, or empty
};

// What the pictures show of the plug-in's parts: the parts it turns, and
// those it does not turn with the reason.
struct Verdicts {
    Verdicts(const refhost::SceneTree& scene, bool switch_on) {
        for (const refhost::PartExplanation& part : refhost::explain_parts(scene, switch_on)) {
            if (part.turned) turned.push_back(part.part);
            else not_turned.emplace(part.part, part.why);
        }
    }
    std::vector<const refhost::Node*> turned;
    std::map<const refhost::Node*, std::string> not_turned;
};

// Every polygon in world coordinates, coloured by the part with the plug-in's
// stream that holds it: one colour per turned part, one look for parts that
// do not turn, with the reason in their title.
void collect(const refhost::SceneTree& scene, const refhost::Node& part, const Verdicts& verdicts, int colour,
             const std::string& note, int& next_colour, std::vector<Polygon>& out) {
    for (const refhost::Node* child : part.children()) {
        if (child->is_part()) {
            int c = colour;
            std::string n = note;
            if (const auto it = verdicts.not_turned.find(child); it != verdicts.not_turned.end()) {
                c = kNotTurned;
                n = ": " + child->name + " is not turned: " + it->second;
            } else if (std::find(verdicts.turned.begin(), verdicts.turned.end(), child) != verdicts.turned.end()) {
                c = next_colour++ % 6;
                n.clear();
            }
            collect(scene, *child, verdicts, c, n, next_colour, out);
        } else if (child->kind == refhost::kMesh) {
            const ftv::Mat4 to_world = scene.local_to_world(*child);
            for (const auto& indices : child->mesh.polygons) {
                Polygon polygon{{}, colour, child->name, note};
                for (std::uint32_t i : indices)
                    polygon.world.push_back(imath(refhost::transform_point(child->mesh.vertices[i], to_world)));
                out.push_back(std::move(polygon));
            }
        }
    }
}

std::string fill_of(int colour) {
    return colour == kNotTurned ? "url(#not-turned)" : colour == kUntagged ? "#9a9a9a" : kPalette[colour];
}
std::string stroke_of(int colour) { return colour == kNotTurned ? "#c01c28" : fill_of(colour); }

// Red hatching for the parts the plug-in does not turn.
const char* const kNotTurnedPattern =
    "  <defs><pattern id=\"not-turned\" width=\"8\" height=\"8\" patternUnits=\"userSpaceOnUse\" "
    "patternTransform=\"rotate(45)\"><rect width=\"8\" height=\"8\" fill=\"#fbe3e1\"/>"
    "<line x1=\"0\" y1=\"0\" x2=\"0\" y2=\"8\" stroke=\"#c01c28\" stroke-width=\"3\"/></pattern></defs>\n";

struct Label {
    std::string text;
    double x, y;  // where its part's centre appears
};

// White names on dark boxes, readable over any face or the background.
std::string labels_svg(const std::vector<Label>& labels) {
    constexpr double kFontSize = 12, kBoxHeight = 16;
    std::vector<LabelBox> boxes;
    for (const Label& label : labels) boxes.push_back({label.x, label.y, label_width(label.text, kFontSize), kBoxHeight});
    const std::vector<PlacedLabel> placed = place_labels(boxes);
    std::ostringstream out;
    for (std::size_t i = 0; i < labels.size(); ++i) {
        const PlacedLabel& p = placed[i];
        if (p.moved) {
            out << "  <line x1=\"" << num(labels[i].x) << "\" y1=\"" << num(labels[i].y) << "\" x2=\"" << num(p.x)
                << "\" y2=\"" << num(p.y) << "\" stroke=\"#222\" stroke-width=\"1\"/>\n";
            out << "  <circle cx=\"" << num(labels[i].x) << "\" cy=\"" << num(labels[i].y) << "\" r=\"2\" fill=\"#222\"/>\n";
        }
        out << "  <g class=\"label\"><rect x=\"" << num(p.x - boxes[i].width / 2) << "\" y=\"" << num(p.y - kBoxHeight / 2)
            << "\" width=\"" << num(boxes[i].width) << "\" height=\"" << num(kBoxHeight)
            << "\" rx=\"3\" fill=\"#222\" fill-opacity=\"0.8\"/><text x=\"" << num(p.x) << "\" y=\"" << num(p.y + 4)
            << "\" font-size=\"" << kFontSize << "\" text-anchor=\"middle\" fill=\"#fff\">" << escape(labels[i].text)
            << "</text></g>\n";
    }
    return out.str();
}

// The icon the pane last showed, as the module's own bitmap; a plain swatch
// of the switch's colour if its artwork cannot be read.
std::string status_icon_svg(const PaneState& pane, bool switch_on) {
    if (!pane.icon) return "";
    const std::string artwork = icon_svg(pane.icon_ico, 8, kHeight + 4, 20);
    if (!artwork.empty()) return artwork;
    return "  <rect x=\"8\" y=\"" + std::to_string(kHeight + 6) + "\" width=\"16\" height=\"16\" rx=\"3\" fill=\"" +
           (switch_on ? "#2e9e44" : "#b03a2e") + "\"/>\n";
}

}  // namespace

std::string camera_view_svg(const refhost::SceneTree& scene, const PaneState& pane, bool switch_on) {
    const Verdicts verdicts(scene, switch_on);
    std::vector<Polygon> polygons;
    int next_colour = 0;
    collect(scene, scene.root(), verdicts, kUntagged, "", next_colour, polygons);
    const std::vector<const refhost::Node*>& billboards = verdicts.turned;

    const V eye = imath(scene.camera_data().eye);
    const auto [forward, right, up] = refhost::camera_basis(scene.camera_data());
    const double focal = (kHeight / 2.0) / std::tan(M_PI / 8);  // 45 degree field of view
    const double near = 0.05;

    struct Drawn {
        double depth;
        std::string svg;
    };
    std::vector<Drawn> drawn;
    for (const Polygon& polygon : polygons) {
        std::vector<V> camera;
        bool visible = polygon.world.size() >= 3;
        double depth = 0;
        for (const V& w : polygon.world) {
            const V d = w - eye;
            camera.push_back({d ^ right, d ^ up, d ^ forward});
            visible = visible && camera.back().z > near;
            depth += camera.back().z;
        }
        if (!visible) continue;
        double area = 0;  // in the image plane, y up: positive when the face looks at the eye
        std::string points;
        for (std::size_t i = 0; i < camera.size(); ++i) {
            const V& a = camera[i];
            const V& b = camera[(i + 1) % camera.size()];
            area += (a.x / a.z) * (b.y / b.z) - (b.x / b.z) * (a.y / a.z);
            points += num(kWidth / 2.0 + focal * a.x / a.z) + "," + num(kHeight / 2.0 - focal * a.y / a.z) + " ";
        }
        const std::string colour = fill_of(polygon.colour);
        const bool stands_out = polygon.colour == kNotTurned;
        const std::string edge = stands_out ? stroke_of(polygon.colour) : "#222";
        const std::string width = stands_out ? "3" : "1.5";
        std::string style = area > 0 ? "fill=\"" + colour + "\" stroke=\"" + edge + "\" stroke-width=\"" + width + "\""
                                     : "fill=\"" + colour + "\" fill-opacity=\"0.15\" stroke=\"" +
                                           stroke_of(polygon.colour) + "\" stroke-dasharray=\"5,3\" stroke-width=\"" +
                                           width + "\"";
        drawn.push_back({depth / camera.size(), "  <polygon points=\"" + points + "\" " + style + "><title>" +
                                                    escape(polygon.name) + (area > 0 ? " (front)" : " (back)") +
                                                    escape(polygon.note) +
                                                    "</title></polygon>\n"});
    }
    std::stable_sort(drawn.begin(), drawn.end(), [](const Drawn& a, const Drawn& b) { return a.depth > b.depth; });

    std::ostringstream out;
    const int total = kHeight + kStatusHeight;
    out << "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" << kWidth << "\" height=\"" << total
        << "\" viewBox=\"0 0 " << kWidth << " " << total << "\" font-family=\"" << kFontStack << "\">\n";
    out << kNotTurnedPattern;
    out << "  <rect width=\"" << kWidth << "\" height=\"" << kHeight << "\" fill=\"#f4f1ea\"/>\n";
    out << "  <text x=\"10\" y=\"20\" font-size=\"14\" fill=\"#444\">View from the camera: filled faces look at the "
           "eye, dashed outlines face away</text>\n";
    for (const Drawn& d : drawn) out << d.svg;
    // Labels at each tagged part's centre, moved apart where parts stand close.
    std::vector<Label> labels;
    for (const refhost::Node* part : billboards) {
        const V c = imath(scene.world_center(*part->first())) - eye;
        const V p{c ^ right, c ^ up, c ^ forward};
        if (p.z <= near) continue;
        labels.push_back({part->name, kWidth / 2.0 + focal * p.x / p.z, kHeight / 2.0 - focal * p.y / p.z});
    }
    out << labels_svg(labels);
    // The status bar as the pane last showed it.
    out << "  <rect y=\"" << kHeight << "\" width=\"" << kWidth << "\" height=\"" << kStatusHeight
        << "\" fill=\"#d8d8d8\" stroke=\"#999\"/>\n";
    out << status_icon_svg(pane, switch_on);
    out << "  <text x=\"32\" y=\"" << kHeight + 19 << "\" font-size=\"14\" fill=\"#111\">"
        << escape(pane.present ? pane.text : "(no pane)") << "</text>\n";
    out << "</svg>\n";
    return out.str();
}

std::string top_view_svg(const refhost::SceneTree& scene, const std::vector<ftv::Vec3>& eye_path, bool switch_on) {
    const Verdicts verdicts(scene, switch_on);
    std::vector<Polygon> polygons;
    int next_colour = 0;
    collect(scene, scene.root(), verdicts, kUntagged, "", next_colour, polygons);
    const std::vector<const refhost::Node*>& billboards = verdicts.turned;
    const V eye = imath(scene.camera_data().eye);
    const V target = imath(scene.camera_data().target);

    // Bounds of everything drawn, in (x, z).
    double x0 = std::min(eye.x, target.x), x1 = std::max(eye.x, target.x);
    double z0 = std::min(eye.z, target.z), z1 = std::max(eye.z, target.z);
    auto grow = [&](const V& v) {
        if (!std::isfinite(v.x) || !std::isfinite(v.z)) return;
        x0 = std::min(x0, v.x), x1 = std::max(x1, v.x), z0 = std::min(z0, v.z), z1 = std::max(z1, v.z);
    };
    for (const Polygon& p : polygons)
        for (const V& v : p.world) grow(v);
    for (const ftv::Vec3& e : eye_path) grow(imath(e));
    // Tagged parts without a mesh still show their centre and arrow.
    for (const refhost::Node* part : billboards) grow(imath(scene.world_center(*part->first())));
    const double margin = 40, size = kHeight;
    const double span = std::max({x1 - x0, z1 - z0, 1e-6});
    const double scale = (size - 2 * margin) / span;
    auto sx = [&](const V& v) { return num(margin + (v.x - x0) * scale + (size - 2 * margin - (x1 - x0) * scale) / 2); };
    auto sy = [&](const V& v) { return num(margin + (v.z - z0) * scale + (size - 2 * margin - (z1 - z0) * scale) / 2); };

    std::ostringstream out;
    out << "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" << size << "\" height=\"" << size
        << "\" viewBox=\"0 0 " << size << " " << size << "\" font-family=\"" << kFontStack << "\">\n";
    out << "  <defs><marker id=\"arrow\" viewBox=\"0 0 10 10\" refX=\"9\" refY=\"5\" markerWidth=\"6\" "
           "markerHeight=\"6\" orient=\"auto\"><path d=\"M0,0 L10,5 L0,10 z\" fill=\"#1a5fb4\"/></marker></defs>\n";
    out << kNotTurnedPattern;
    out << "  <rect width=\"" << size << "\" height=\"" << size << "\" fill=\"#fbfbf8\"/>\n";
    out << "  <text x=\"10\" y=\"20\" font-size=\"13\" fill=\"#444\">Top view: eye rays (orange), facing "
           "directions (blue arrows), eye path (dots)</text>\n";
    for (const Polygon& p : polygons) {
        out << "  <polygon points=\"";
        for (const V& v : p.world) out << sx(v) << "," << sy(v) << " ";
        out << "\" fill=\"" << fill_of(p.colour) << "\" fill-opacity=\"0.4\" stroke=\"" << stroke_of(p.colour)
            << "\" stroke-width=\"2\"><title>" << escape(p.name + p.note) << "</title></polygon>\n";
    }
    for (const ftv::Vec3& e : eye_path)
        out << "  <circle cx=\"" << sx(imath(e)) << "\" cy=\"" << sy(imath(e)) << "\" r=\"2\" fill=\"#888\"/>\n";
    const double arrow = std::max(span * 0.08, 1e-6);
    for (const refhost::Node* part : billboards) {
        const V c = imath(scene.world_center(*part->first()));
        const V facing = imath(refhost::facing_of(scene, *part));
        out << "  <line x1=\"" << sx(eye) << "\" y1=\"" << sy(eye) << "\" x2=\"" << sx(c) << "\" y2=\"" << sy(c)
            << "\" stroke=\"#f08c00\" stroke-width=\"1\"/>\n";
        const V tip = c + facing * arrow;
        out << "  <line x1=\"" << sx(c) << "\" y1=\"" << sy(c) << "\" x2=\"" << sx(tip) << "\" y2=\"" << sy(tip)
            << "\" stroke=\"#1a5fb4\" stroke-width=\"2.5\" marker-end=\"url(#arrow)\"><title>" << escape(part->name)
            << "</title></line>\n";
        out << "  <circle cx=\"" << sx(c) << "\" cy=\"" << sy(c) << "\" r=\"3\" fill=\"#111\"/>\n";
    }
    out << "  <line x1=\"" << sx(eye) << "\" y1=\"" << sy(eye) << "\" x2=\"" << sx(target) << "\" y2=\"" << sy(target)
        << "\" stroke=\"#555\" stroke-dasharray=\"4,4\"/>\n";
    out << "  <circle cx=\"" << sx(eye) << "\" cy=\"" << sy(eye) << "\" r=\"7\" fill=\"#c01c28\"/>\n";
    out << "  <text x=\"" << sx(eye) << "\" y=\"" << sy(eye) << "\" dx=\"10\" dy=\"-8\" font-size=\"13\">camera</text>\n";
    out << "  <circle cx=\"" << sx(target) << "\" cy=\"" << sy(target) << "\" r=\"4\" fill=\"none\" stroke=\"#555\"/>\n";
    out << "</svg>\n";
    return out.str();
}

}  // namespace ftv_cli
