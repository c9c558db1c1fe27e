#pragma once

#include <string_view>

namespace tessarin::exporter {

// The gallery's look, inline in each page: thumbnails in rows that wrap.
inline constexpr std::string_view kGalleryStyle = R"(
body { font-family: sans-serif; margin: 1em; background: #f4f4f4; }
#g { list-style: none; padding: 0; display: flex; flex-wrap: wrap; gap: 0.8em; }
#g > li.h { width: 100%; font-weight: bold; }
#g > li.e { width: 180px; background: #fff; padding: 0.4em; border: 1px solid #ccc; }
#g > li:focus-within { outline: 3px solid #36c; }
#g img { display: block; margin: auto; image-rendering: pixelated; }
#g ul { padding-left: 1em; margin: 0.2em 0; font-size: 80%; word-break: break-all; }
#q { width: 30em; font-size: 110%; }
)";

// The gallery's behaviour, inline so that it runs from file:// with nothing from outside:
// the filter keeps the entries holding every word typed (in the name, mode or folders),
// the arrow keys move between the entries shown (up and down by a row), Enter opens one;
// Enter in the filter opens the first entry shown.
inline constexpr std::string_view kGalleryScript = R"(
(function () {
  var q = document.getElementById('q');
  var shown = document.getElementById('shown');
  var items = Array.prototype.slice.call(document.querySelectorAll('#g > li.e'));
  function visible() { return items.filter(function (e) { return !e.hidden; }); }
  function filter() {
    var words = q.value.toLowerCase().split(/\s+/).filter(Boolean);
    items.forEach(function (e) {
      var text = e.getAttribute('data-find');
      e.hidden = !words.every(function (w) { return text.indexOf(w) >= 0; });
    });
    shown.textContent = visible().length + ' of ' + items.length;
  }
  function columns(v) {
    var n = 0;
    while (n < v.length && v[n].offsetTop === v[0].offsetTop) { n++; }
    return Math.max(n, 1);
  }
  function open(entry) { entry.querySelector('a').focus(); }
  q.addEventListener('input', filter);
  q.addEventListener('keydown', function (ev) {
    var v = visible();
    if (ev.key === 'Enter' && v.length) { ev.preventDefault(); v[0].querySelector('a').click(); }
  });
  document.addEventListener('keydown', function (ev) {
    var v = visible();
    var at = document.activeElement;
    var entry = at && at.closest ? at.closest('#g > li.e') : null;
    var i = v.indexOf(entry);
    var step = { ArrowRight: 1, ArrowLeft: -1, ArrowDown: columns(v), ArrowUp: -columns(v) }[ev.key];
    if (!step || !v.length || (i < 0 && ev.key !== 'ArrowDown')) { return; }
    ev.preventDefault();
    if (i < 0) { open(v[0]); return; }
    if (i + step < 0) { q.focus(); return; }
    open(v[Math.min(i + step, v.length - 1)]);
  });
  filter();
})();
)";

} // namespace tessarin::exporter
