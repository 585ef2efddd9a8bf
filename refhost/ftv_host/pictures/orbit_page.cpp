#include "pictures/orbit_page.h"

#include "pictures/markup.h"
#include "pictures/svg.h"

namespace ftv_cli {

namespace {

// Recorded before anything else runs, so that a fault in the main script counts too.
const char* const kErrorWatch = R"(<script>
window.addEventListener('error', function () {
  var root = document.documentElement;
  root.setAttribute('data-script-errors', String(Number(root.getAttribute('data-script-errors') || 0) + 1));
});
</script>
)";

// The pictures' fonts for the page's own text too.
const char* const kStyle = R"(
body { margin: 16px; background: #fafafa; color: #222; }
#controls { display: flex; align-items: center; gap: 12px; margin: 8px 0; }
#slider { width: 480px; }
#views { display: flex; flex-wrap: wrap; gap: 12px; align-items: flex-start; }
#views svg { border: 1px solid #bbb; background: #fff; max-width: 100%; height: auto; }
)";

// Frames are kept in <template> elements and one at a time copied into view,
// so that the ids inside each picture (the top view's arrow) never clash.
const char* const kScript = R"(<script>
(function () {
  var frames = document.querySelectorAll('template.frame');
  var slider = document.getElementById('slider');
  var caption = document.getElementById('caption');
  var button = document.getElementById('play');
  var views = document.getElementById('views');
  var timer = null;
  function show(i) {
    var frame = frames[i];
    views.replaceChildren(frame.content.cloneNode(true));
    caption.textContent = frame.getAttribute('data-caption');
    slider.value = String(i);
    document.documentElement.setAttribute('data-frame', String(i));
  }
  function pause() {
    if (timer !== null) clearInterval(timer);
    timer = null;
    button.textContent = 'Play';
  }
  function play() {
    if (Number(slider.value) >= frames.length - 1) show(0);
    button.textContent = 'Pause';
    timer = setInterval(function () {
      var next = Number(slider.value) + 1;
      if (next >= frames.length) { pause(); return; }
      show(next);
    }, 250);
  }
  slider.max = String(frames.length - 1);
  slider.addEventListener('input', function () { pause(); show(Number(slider.value)); });
  button.addEventListener('click', function () { if (timer === null) play(); else pause(); });
  show(0);
  var asked = /^#step=(\d+)$/.exec(location.hash);
  if (asked) {
    slider.value = asked[1];
    slider.dispatchEvent(new Event('input'));
  } else if (location.hash === '#play') {
    button.click();
  }
  document.documentElement.setAttribute('data-ready', 'yes');
})();
</script>
)";

}  // namespace

std::string orbit_page_html(const std::string& title, const std::vector<OrbitFrame>& frames) {
    std::string out = "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n<title>" + escape(title) +
                      "</title>\n";
    out += kErrorWatch;
    out += std::string("<style>\nbody { font-family: ") + kFontStack + "; }" + kStyle + "</style>\n";
    out += "</head>\n<body>\n<h1>" + escape(title) + "</h1>\n";
    out += "<p>Each step moves the eye further around its target and notifies the plug-in: every billboard it turns "
           "follows the eye (left, the camera's view; right, the view from above, where each blue arrow points along "
           "its orange ray to the eye).</p>\n";
    out += "<div id=\"controls\"><button id=\"play\" type=\"button\">Play</button>"
           "<input id=\"slider\" type=\"range\" min=\"0\" max=\"0\" step=\"1\" value=\"0\" aria-label=\"step\">"
           "<span id=\"caption\"></span></div>\n";
    out += "<div id=\"views\"></div>\n";
    for (const OrbitFrame& frame : frames) {
        out += "<template class=\"frame\" data-caption=\"" + escape(frame.caption) + "\">\n" + frame.camera_svg +
               frame.top_svg + "</template>\n";
    }
    out += kScript;
    out += "</body>\n</html>\n";
    return out;
}

}  // namespace ftv_cli
