#include "pictures/svg.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <map>
#include <set>
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
using Imath::M44d;
using refhost::imath;

// A coordinate with so many decimals (to_chars rounds as printf's %.Nf does,
// many times faster); one far off the picture is drawn at a distance that
// any SVG reader takes and that fits the text.
void append_fixed(std::string& out, double v, int decimals) {
    char text[64];
    const auto [end, error] =
        std::to_chars(text, text + sizeof text, std::clamp(v, -1e9, 1e9), std::chars_format::fixed, decimals);
    out.append(text, error == std::errc() ? end : text);
}

std::string num(double v) {
    std::string out;
    append_fixed(out, v, 2);
    return out;
}

constexpr int kUntagged = -1;
constexpr int kNotTurned = -2;  // carries the plug-in's stream, but the walk does not turn it

// Scenes of more faces than this are drawn as real models are: faces turned
// away culled, the rest filled and shaded without outlines, and faces that
// follow each other in the drawing order with one fill merged into one path,
// so that a picture costs a few bytes per face that shows. Smaller scenes
// show every face with its outline and its name, the ones turned away dashed.
constexpr std::size_t kDetailedFaces = 2000;

// A mesh as the pictures draw it.
struct Owner {
    int colour;        // index into the palette, or kUntagged, kNotTurned
    std::string name;  // the mesh's
    std::string note;  // why the part that holds it does not turn, or empty
    bool mirrored;     // its frame turns space inside out: its faces' winding is reversed in the world
};

// A polygon: its corners in world coordinates, corners[first, first + count).
struct Face {
    std::uint32_t first, count, owner;
};

struct Faces {
    std::vector<V> corners;
    std::vector<Face> list;
    std::vector<Owner> owners;
    bool detailed() const { return list.size() <= kDetailedFaces; }
    // The face's normal by Newell's method (length twice its area), outward as its mesh was made.
    V normal(const Face& face) const {
        V n(0, 0, 0);
        for (std::uint32_t i = 0; i < face.count; ++i) {
            const V& a = corners[face.first + i];
            const V& b = corners[face.first + (i + 1) % face.count];
            n += V((a.y - b.y) * (a.z + b.z), (a.z - b.z) * (a.x + b.x), (a.x - b.x) * (a.y + b.y));
        }
        return owners[face.owner].mirrored ? -n : n;
    }
};

// What the pictures show of the plug-in's parts: the parts it turns, and
// those it does not turn with the reason.
struct Verdicts {
    Verdicts(const refhost::SceneTree& scene, bool switch_on) {
        for (const refhost::PartExplanation& part : refhost::explain_parts(scene, switch_on)) {
            if (part.turned) {
                turned.push_back(part.part);
                turned_set.insert(part.part);
            } else {
                not_turned.emplace(part.part, part.why);
            }
        }
    }
    std::vector<const refhost::Node*> turned;
    std::set<const refhost::Node*> turned_set;
    std::map<const refhost::Node*, std::string> not_turned;
};

// Every polygon in world coordinates, coloured by the part with the plug-in's
// stream that holds it: one colour per turned part in the order the walk
// meets them, one look for parts that do not turn, with the reason in their
// title. A walk with a stack of its own: a file may nest parts deeper than
// the thread's stack would reach.
Faces collect(const refhost::SceneTree& scene, const Verdicts& verdicts) {
    struct Visit {
        const refhost::Node* node;
        int colour;
        std::string note;
    };
    Faces out;
    int next_colour = 0;
    std::vector<Visit> stack{{&scene.root(), kUntagged, ""}};
    while (!stack.empty()) {
        Visit visit = std::move(stack.back());
        stack.pop_back();
        const refhost::Node& node = *visit.node;
        if (node.is_part()) {
            if (const auto it = verdicts.not_turned.find(&node); it != verdicts.not_turned.end()) {
                visit.colour = kNotTurned;
                visit.note = ": " + node.name + " is not turned: " + it->second;
            } else if (verdicts.turned_set.count(&node) != 0) {
                visit.colour = next_colour++ % 6;
                visit.note.clear();
            }
            const std::vector<const refhost::Node*> children = node.children();
            for (auto child = children.rbegin(); child != children.rend(); ++child)
                stack.push_back({*child, visit.colour, visit.note});
        } else if (node.kind == refhost::kMesh) {
            const M44d to_world = imath(scene.local_to_world(node));
            const double det = Imath::M33d(to_world[0][0], to_world[0][1], to_world[0][2], to_world[1][0],
                                           to_world[1][1], to_world[1][2], to_world[2][0], to_world[2][1],
                                           to_world[2][2])
                                   .determinant();
            const auto owner = static_cast<std::uint32_t>(out.owners.size());
            out.owners.push_back({visit.colour, node.name, visit.note, det < 0});
            for (const auto& indices : node.mesh.polygons) {
                out.list.push_back({static_cast<std::uint32_t>(out.corners.size()),
                                    static_cast<std::uint32_t>(indices.size()), owner});
                for (std::uint32_t i : indices) {
                    V world;
                    to_world.multDirMatrix(imath(node.mesh.vertices[i]), world);
                    out.corners.push_back(world + to_world.translation());
                }
            }
        }
    }
    return out;
}

std::string fill_of(int colour) {
    return colour == kNotTurned ? "url(#not-turned)" : colour == kUntagged ? "#9a9a9a" : kPalette[colour];
}
std::string stroke_of(int colour) { return colour == kNotTurned ? "#c01c28" : fill_of(colour); }

// A real model's face: its colour darkened as its light falls off, light
// coming from where the picture looks (lit is the cosine between the two),
// in a few steps, so that neighbouring faces share fills.
std::string shaded_fill_of(int colour, double lit) {
    if (colour == kNotTurned) return fill_of(colour);
    const std::string base = fill_of(colour);
    const double level = 0.4 + 0.6 * std::round(std::clamp(lit, 0.0, 1.0) * 8) / 8;
    char text[8];
    const auto channel = [&](int at) {
        return static_cast<int>(std::lround(std::stoi(base.substr(at, 2), nullptr, 16) * level));
    };
    std::snprintf(text, sizeof text, "#%02x%02x%02x", channel(1), channel(3), channel(5));
    return text;
}

// Faces drawn one after the other as few paths as their fills allow: one
// path per run of faces with the same fill, a subpath per face.
class MergedPaths {
public:
    void add(const std::string& fill, const std::vector<std::pair<double, double>>& points) {
        if (fill != fill_) flush();
        fill_ = fill;
        for (std::size_t i = 0; i < points.size(); ++i) {
            d_ += i == 0 ? 'M' : ' ';
            append_fixed(d_, points[i].first, 1);
            d_ += ',';
            append_fixed(d_, points[i].second, 1);
        }
        d_ += "Z";
    }
    std::string svg() {
        flush();
        return std::move(out_);
    }

private:
    void flush() {
        if (!d_.empty()) out_ += "  <path fill=\"" + fill_ + "\" d=\"" + d_ + "\"/>\n";
        d_.clear();
    }
    std::string fill_, d_, out_;
};

// Red hatching for the parts the plug-in does not turn.
const char* const kNotTurnedPattern =
    "  <defs><pattern id=\"not-turned\" width=\"8\" height=\"8\" patternUnits=\"userSpaceOnUse\" "
    "patternTransform=\"rotate(45)\"><rect width=\"8\" height=\"8\" fill=\"#fbe3e1\"/>"
    "<line x1=\"0\" y1=\"0\" x2=\"0\" y2=\"8\" stroke=\"#c01c28\" stroke-width=\"3\"/></pattern></defs>\n";

struct Label {
    std::string text;
    double x, y;  // where its part's centre appears
};

// White names on dark boxes, readable over any face or the background;
// those with no free place near their part left out, and counted.
std::string labels_svg(const std::vector<Label>& labels) {
    constexpr double kFontSize = 12, kBoxHeight = 16;
    std::vector<LabelBox> boxes;
    for (const Label& label : labels) boxes.push_back({label.x, label.y, label_width(label.text, kFontSize), kBoxHeight});
    const std::vector<PlacedLabel> placed = place_labels(boxes, kWidth, kHeight);
    std::ostringstream out;
    std::size_t left_out = 0;
    for (std::size_t i = 0; i < labels.size(); ++i) {
        const PlacedLabel& p = placed[i];
        if (!p.shown) {
            ++left_out;
            continue;
        }
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
    if (left_out > 0)
        out << "  <text class=\"labels-left-out\" x=\"10\" y=\"" << kHeight - 10 << "\" font-size=\"13\" fill=\"#444\">"
            << left_out << (left_out == 1 ? " label" : " labels")
            << " left out: no room beside the labels drawn</text>\n";
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
    const Faces faces = collect(scene, verdicts);

    const V eye = imath(scene.camera_data().eye);
    const auto [forward, right, up] = refhost::camera_basis(scene.camera_data());
    const double focal = (kHeight / 2.0) / std::tan(M_PI / 8);  // 45 degree field of view
    const double near = 0.05;

    // Every corner in the camera's frame (x right, y up, z ahead) and on the picture.
    std::vector<V> camera(faces.corners.size());
    std::vector<std::pair<double, double>> screen(faces.corners.size());
    for (std::size_t i = 0; i < faces.corners.size(); ++i) {
        const V d = faces.corners[i] - eye;
        camera[i] = {d ^ right, d ^ up, d ^ forward};
        screen[i] = {kWidth / 2.0 + focal * camera[i].x / camera[i].z, kHeight / 2.0 - focal * camera[i].y / camera[i].z};
    }
    struct Drawn {
        double depth;
        std::uint32_t face;
        bool front;
    };
    std::vector<Drawn> drawn;
    for (std::uint32_t f = 0; f < faces.list.size(); ++f) {
        const Face& face = faces.list[f];
        bool visible = face.count >= 3;
        double depth = 0, area = 0;  // area in the image plane, y up: positive when the face looks at the eye
        double left = kWidth, right_most = 0, top = kHeight, bottom = 0;
        for (std::uint32_t i = 0; i < face.count && visible; ++i) {
            const V& a = camera[face.first + i];
            const V& b = camera[face.first + (i + 1) % face.count];
            visible = a.z > near;
            depth += a.z;
            area += (a.x / a.z) * (b.y / b.z) - (b.x / b.z) * (a.y / a.z);
            const auto& [x, y] = screen[face.first + i];
            left = std::min(left, x), right_most = std::max(right_most, x);
            top = std::min(top, y), bottom = std::max(bottom, y);
        }
        const bool front = (area > 0) != faces.owners[face.owner].mirrored;
        if (!visible) continue;
        if (!faces.detailed() && (!front || right_most < 0 || left > kWidth || bottom < 0 || top > kHeight)) continue;
        drawn.push_back({depth / face.count, f, front});
    }
    std::stable_sort(drawn.begin(), drawn.end(), [](const Drawn& a, const Drawn& b) { return a.depth > b.depth; });

    std::ostringstream out;
    const int total = kHeight + kStatusHeight;
    out << "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" << kWidth << "\" height=\"" << total
        << "\" viewBox=\"0 0 " << kWidth << " " << total << "\" font-family=\"" << kFontStack << "\">\n";
    out << kNotTurnedPattern;
    out << "  <rect width=\"" << kWidth << "\" height=\"" << kHeight << "\" fill=\"#f4f1ea\"/>\n";
    if (faces.detailed()) {
        out << "  <text x=\"10\" y=\"20\" font-size=\"14\" fill=\"#444\">View from the camera: filled faces look at the "
               "eye, dashed outlines face away</text>\n";
        for (const Drawn& d : drawn) {
            const Face& face = faces.list[d.face];
            const Owner& owner = faces.owners[face.owner];
            std::string points;
            for (std::uint32_t i = 0; i < face.count; ++i)
                points += num(screen[face.first + i].first) + "," + num(screen[face.first + i].second) + " ";
            const std::string colour = fill_of(owner.colour);
            const bool stands_out = owner.colour == kNotTurned;
            const std::string edge = stands_out ? stroke_of(owner.colour) : "#222";
            const std::string width = stands_out ? "3" : "1.5";
            const std::string style =
                d.front ? "fill=\"" + colour + "\" stroke=\"" + edge + "\" stroke-width=\"" + width + "\""
                        : "fill=\"" + colour + "\" fill-opacity=\"0.15\" stroke=\"" + stroke_of(owner.colour) +
                              "\" stroke-dasharray=\"5,3\" stroke-width=\"" + width + "\"";
            out << "  <polygon points=\"" << points << "\" " << style << "><title>" << escape(owner.name)
                << (d.front ? " (front)" : " (back)") << escape(owner.note) << "</title></polygon>\n";
        }
    } else {
        out << "  <text x=\"10\" y=\"20\" font-size=\"14\" fill=\"#444\">View from the camera: faces turned away "
               "from the eye left out</text>\n";
        MergedPaths paths;
        std::vector<std::pair<double, double>> points;
        for (const Drawn& d : drawn) {
            const Face& face = faces.list[d.face];
            V centre(0, 0, 0);
            for (std::uint32_t i = 0; i < face.count; ++i) centre += faces.corners[face.first + i];
            const V to_eye = eye - centre / face.count, normal = faces.normal(face);
            const double lit = (normal ^ to_eye) / std::max(normal.length() * to_eye.length(), 1e-300);
            points.assign(screen.begin() + face.first, screen.begin() + face.first + face.count);
            paths.add(shaded_fill_of(faces.owners[face.owner].colour, lit), points);
        }
        out << paths.svg();
    }
    // Labels at each tagged part's centre in view, moved apart where parts stand close.
    std::vector<Label> labels;
    for (const refhost::Node* part : verdicts.turned) {
        const V c = imath(scene.world_center(*part->first())) - eye;
        const V p{c ^ right, c ^ up, c ^ forward};
        if (p.z <= near) continue;
        const double x = kWidth / 2.0 + focal * p.x / p.z, y = kHeight / 2.0 - focal * p.y / p.z;
        if (x >= 0 && x <= kWidth && y >= 0 && y <= kHeight) labels.push_back({part->name, x, y});
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
    const Faces faces = collect(scene, verdicts);
    const V eye = imath(scene.camera_data().eye);
    const V target = imath(scene.camera_data().target);

    // Bounds of everything drawn, in (x, z).
    double x0 = std::min(eye.x, target.x), x1 = std::max(eye.x, target.x);
    double z0 = std::min(eye.z, target.z), z1 = std::max(eye.z, target.z);
    auto grow = [&](const V& v) {
        if (!std::isfinite(v.x) || !std::isfinite(v.z)) return;
        x0 = std::min(x0, v.x), x1 = std::max(x1, v.x), z0 = std::min(z0, v.z), z1 = std::max(z1, v.z);
    };
    for (const V& v : faces.corners) grow(v);
    for (const ftv::Vec3& e : eye_path) grow(imath(e));
    // Tagged parts without a mesh still show their centre and arrow.
    for (const refhost::Node* part : verdicts.turned) grow(imath(scene.world_center(*part->first())));
    const double margin = 40, size = kHeight;
    const double span = std::max({x1 - x0, z1 - z0, 1e-6});
    const double scale = (size - 2 * margin) / span;
    auto x_of = [&](const V& v) { return margin + (v.x - x0) * scale + (size - 2 * margin - (x1 - x0) * scale) / 2; };
    auto y_of = [&](const V& v) { return margin + (v.z - z0) * scale + (size - 2 * margin - (z1 - z0) * scale) / 2; };
    auto sx = [&](const V& v) { return num(x_of(v)); };
    auto sy = [&](const V& v) { return num(y_of(v)); };

    std::ostringstream out;
    out << "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" << size << "\" height=\"" << size
        << "\" viewBox=\"0 0 " << size << " " << size << "\" font-family=\"" << kFontStack << "\">\n";
    out << "  <defs><marker id=\"arrow\" viewBox=\"0 0 10 10\" refX=\"9\" refY=\"5\" markerWidth=\"6\" "
           "markerHeight=\"6\" orient=\"auto\"><path d=\"M0,0 L10,5 L0,10 z\" fill=\"#1a5fb4\"/></marker></defs>\n";
    out << kNotTurnedPattern;
    out << "  <rect width=\"" << size << "\" height=\"" << size << "\" fill=\"#fbfbf8\"/>\n";
    out << "  <text x=\"10\" y=\"20\" font-size=\"13\" fill=\"#444\">Top view: eye rays (orange), facing "
           "directions (blue arrows), eye path (dots)</text>\n";
    if (faces.detailed()) {
        for (const Face& face : faces.list) {
            const Owner& owner = faces.owners[face.owner];
            out << "  <polygon points=\"";
            for (std::uint32_t i = 0; i < face.count; ++i)
                out << sx(faces.corners[face.first + i]) << "," << sy(faces.corners[face.first + i]) << " ";
            out << "\" fill=\"" << fill_of(owner.colour) << "\" fill-opacity=\"0.4\" stroke=\"" << stroke_of(owner.colour)
                << "\" stroke-width=\"2\"><title>" << escape(owner.name + owner.note) << "</title></polygon>\n";
        }
    } else {
        // The faces that look up, lowest first, so that higher ones cover them.
        std::vector<std::pair<double, std::uint32_t>> drawn;
        for (std::uint32_t f = 0; f < faces.list.size(); ++f) {
            const Face& face = faces.list[f];
            if (face.count < 3 || !(faces.normal(face).y > 0)) continue;
            double height = 0;
            for (std::uint32_t i = 0; i < face.count; ++i) height += faces.corners[face.first + i].y;
            drawn.emplace_back(height / face.count, f);
        }
        std::stable_sort(drawn.begin(), drawn.end(),
                         [](const auto& a, const auto& b) { return a.first < b.first; });
        MergedPaths paths;
        std::vector<std::pair<double, double>> points;
        for (const auto& [height, f] : drawn) {
            const Face& face = faces.list[f];
            points.clear();
            for (std::uint32_t i = 0; i < face.count; ++i)
                points.emplace_back(x_of(faces.corners[face.first + i]), y_of(faces.corners[face.first + i]));
            const V normal = faces.normal(face);
            paths.add(shaded_fill_of(faces.owners[face.owner].colour, normal.y / normal.length()), points);
        }
        out << paths.svg();
    }
    for (const ftv::Vec3& e : eye_path)
        out << "  <circle cx=\"" << sx(imath(e)) << "\" cy=\"" << sy(imath(e)) << "\" r=\"2\" fill=\"#888\"/>\n";
    const double arrow = std::max(span * 0.08, 1e-6);
    for (const refhost::Node* part : verdicts.turned) {
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
