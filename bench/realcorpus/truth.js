// Reads back what the page shows as lines of text, in document order: a word joins the
// line before it when it stands level with it and to its right. CJK characters are
// measured one by one (lines break between any two). Text drawn by CSS (::before icons,
// check marks) is not in the document and so not in the truth. The result and the size
// of #crop go into <pre id="truth"> for `--dump-dom`.
(function () {
  function tokens(text) {
    const out = [];
    const re = /\s+|[\u3040-\u30ff\u3400-\u9fff\uf900-\ufaff\uac00-\ud7af\u3000-\u303f\uff00-\uffef]|[^\s\u3040-\u30ff\u3400-\u9fff\uf900-\ufaff\uac00-\ud7af\u3000-\u303f\uff00-\uffef]+/g;
    let m, space = false;
    while ((m = re.exec(text))) {
      if (/^\s+$/.test(m[0])) { space = true; continue; }
      out.push({ start: m.index, end: m.index + m[0].length, text: m[0], space: space });
      space = false;
    }
    return out;
  }
  function visible(el) {
    for (let e = el; e; e = e.parentElement) {
      const s = getComputedStyle(e);
      if (s.display === 'none' || s.visibility === 'hidden' || e.dataset.notext !== undefined)
        return false;
    }
    return true;
  }
  function read() {
    const lines = [];
    let line = null, lastRight = -1e9;
    const walker = document.createTreeWalker(document.getElementById('crop'), NodeFilter.SHOW_TEXT);
    while (walker.nextNode()) {
      const node = walker.currentNode;
      if (!visible(node.parentElement)) continue;
      let first = true;
      for (const t of tokens(node.data)) {
        const r = document.createRange();
        r.setStart(node, t.start);
        r.setEnd(node, t.end);
        const rects = r.getClientRects();
        if (!rects.length || !rects[0].width) continue;
        const b = rects[0];
        const middle = (b.top + b.bottom) / 2;
        const level = line && middle > line.top && middle < line.bottom;
        if (!level || b.left < lastRight - 2) {
          line = { top: b.top, bottom: b.bottom, text: t.text };
          lines.push(line);
        } else {
          // A space where the text has one, or where another element starts apart.
          const gap = t.space || (first && b.left > lastRight + 2);
          line.text += (gap ? ' ' : '') + t.text;
        }
        lastRight = b.right;
        first = false;
      }
    }
    // Everything drawn: the crop and whatever of it overflows.
    const crop = { right: 0, bottom: 0 };
    for (const el of [document.getElementById('crop'), ...document.querySelectorAll('#crop *')]) {
      const r = el.getBoundingClientRect();
      crop.right = Math.max(crop.right, r.right);
      crop.bottom = Math.max(crop.bottom, r.bottom);
    }
    const pre = document.createElement('pre');
    pre.id = 'truth';
    pre.style.display = 'none';
    pre.dataset.width = Math.ceil(crop.right);
    pre.dataset.height = Math.ceil(crop.bottom);
    pre.textContent = lines.map(l => l.text).join('\n');
    document.body.appendChild(pre);
  }
  const images = Array.from(document.images).map(i => i.decode().catch(() => null));
  Promise.all([document.fonts.ready, ...images]).then(() => {
    // The page shows nothing until its fonts and images are in: a screenshot taken too
    // early is blank, never drawn in a fallback font or without its codes.
    document.body.classList.add('ready');
    requestAnimationFrame(read);
  });
})();
