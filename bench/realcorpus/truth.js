// Reads back what the page shows as lines of text, in document order: a word joins the
// line before it when it stands level with it and to its right. CJK characters are
// measured one by one (lines break between any two). Text drawn by CSS (::before icons,
// check marks) is not in the document and so not in the truth. Only what the screenshot
// shows counts: a character outside the crop, clipped by its box or covered by another
// element (a label under its field, a title under the window's buttons) is left out, and
// box-drawing characters, which the page draws as rules, separate words like spaces. The
// result, the size of #crop and the box of every word and image kept (for the generator's
// ink check) go into <pre id="truth"> and <pre id="boxes"> for `--dump-dom`.
(function () {
  const CJK = '\u3040-\u30ff\u3400-\u9fff\uf900-\ufaff\uac00-\ud7af\u3000-\u303f\uff00-\uffef';
  const GAP = '\\s\u2500-\u257f';
  function tokens(text) {
    const out = [];
    const re = new RegExp(`[${GAP}]+|[${CJK}]|[^${GAP}${CJK}]+`, 'g');
    let m, space = false;
    while ((m = re.exec(text))) {
      if (new RegExp(`^[${GAP}]+$`).test(m[0])) { space = true; continue; }
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
  // Everything drawn: the crop and whatever of it overflows; the screenshot's size.
  function cropBox() {
    const crop = { right: 0, bottom: 0 };
    for (const el of [document.getElementById('crop'), ...document.querySelectorAll('#crop *')]) {
      const r = el.getBoundingClientRect();
      crop.right = Math.max(crop.right, r.right);
      crop.bottom = Math.max(crop.bottom, r.bottom);
    }
    return { right: Math.ceil(crop.right), bottom: Math.ceil(crop.bottom) };
  }
  // What the screenshot holds: the crop, or less when a screenshot taken before is
  // checked against the page (`?width=W&height=H` in CSS pixels).
  function shot(crop) {
    const given = new URLSearchParams(location.search);
    return { right: Math.min(crop.right, Number(given.get('width')) || 1e9),
             bottom: Math.min(crop.bottom, Number(given.get('height')) || 1e9) };
  }
  // Whether a character's middle is on the screenshot and its own element is on top there.
  function shown(node, rect, crop) {
    const x = (rect.left + rect.right) / 2, y = (rect.top + rect.bottom) / 2;
    if (x < 0 || y < 0 || x >= crop.right || y >= crop.bottom) return false;
    return document.elementFromPoint(x, y) === node.parentElement;
  }
  // The characters of a token the screenshot shows, in pieces of one line each (a token
  // the browser broke at a hyphen stands on two lines), each with its box.
  function shownParts(node, t, crop) {
    const pieces = [];
    let piece = null;
    for (let i = t.start; i < t.end;) {
      const step = node.data.codePointAt(i) > 0xffff ? 2 : 1;
      const r = document.createRange();
      r.setStart(node, i);
      r.setEnd(node, i + step);
      const b = r.getBoundingClientRect();
      const char = node.data.substr(i, step);
      i += step;
      if (!b.width) {  // a mark without a width of its own goes with the character before it
        if (piece) piece.text += char;
        continue;
      }
      if (!shown(node, b, crop)) continue;
      const middle = (b.top + b.bottom) / 2;
      if (piece && middle > piece.box.top && middle < piece.box.bottom &&
          b.left >= piece.box.right - 2) {
        piece.text += char;
        piece.box.right = Math.max(piece.box.right, b.right);
        piece.box.top = Math.min(piece.box.top, b.top);
        piece.box.bottom = Math.max(piece.box.bottom, b.bottom);
      } else {
        piece = { text: char, box: { left: b.left, top: b.top, right: b.right, bottom: b.bottom } };
        pieces.push(piece);
      }
    }
    return pieces;
  }
  function read() {
    const crop = cropBox(), limit = shot(crop);
    const lines = [], words = [];
    let line = null, lastRight = -1e9;
    const walker = document.createTreeWalker(document.getElementById('crop'), NodeFilter.SHOW_TEXT);
    while (walker.nextNode()) {
      const node = walker.currentNode;
      if (!visible(node.parentElement)) continue;
      let first = true;
      for (const t of tokens(node.data)) {
        shownParts(node, t, limit).forEach((part, k) => {
          const b = part.box;
          const middle = (b.top + b.bottom) / 2;
          const level = line && middle > line.top && middle < line.bottom;
          if (!level || b.left < lastRight - 2) {
            line = { top: b.top, bottom: b.bottom, text: part.text };
            lines.push(line);
          } else {
            // A space where the text has one, or where another element starts apart.
            const gap = k === 0 && (t.space || (first && b.left > lastRight + 2));
            line.text += (gap ? ' ' : '') + part.text;
          }
          lastRight = b.right;
          first = false;
          words.push([b.left, b.top, Math.min(b.right, limit.right),
                      Math.min(b.bottom, limit.bottom), part.text]);
        });
      }
    }
    const images = Array.from(document.querySelectorAll('#crop img')).map(i => {
      const b = i.getBoundingClientRect();
      return [b.left, b.top, b.right, b.bottom];
    });
    const pre = document.createElement('pre');
    pre.id = 'truth';
    pre.style.display = 'none';
    pre.dataset.width = crop.right;
    pre.dataset.height = crop.bottom;
    pre.textContent = lines.map(l => l.text).join('\n');
    document.body.appendChild(pre);
    const boxes = document.createElement('pre');
    boxes.id = 'boxes';
    boxes.style.display = 'none';
    boxes.textContent = JSON.stringify({ words: words, images: images });
    document.body.appendChild(boxes);
  }
  const images = Array.from(document.images).map(i => i.decode().catch(() => null));
  Promise.all([document.fonts.ready, ...images]).then(() => {
    // The page shows nothing until its fonts and images are in: a screenshot taken too
    // early is blank, never drawn in a fallback font or without its codes.
    document.body.classList.add('ready');
    requestAnimationFrame(read);
  });
})();
