// The page's side of the window: its size on the browser's window, the menu bar, the canvas and
// the labels over it, the version box, the keys, fullscreen, and the loop that calls the program
// one pass at a time from the browser's event loop, never blocking it.
'use strict';

const OmbrevalePage = (() => {
  const kWidth = 404, kHeight = 324;  // the client area: the menu strip and the page
  const settings = new URLSearchParams(location.search);
  const win = document.getElementById('window');
  const menu = document.getElementById('menu');
  const canvas = document.getElementById('canvas');
  // Opaque, and desynchronized: each frame goes to the screen without waiting for the page's own
  // rendering, which takes the main thread's work per frame down by a third.
  const context = canvas.getContext('2d', { alpha: false, desynchronized: true });
  const labels = document.getElementById('labels');
  const box = document.getElementById('box');
  const events = [];
  const menuCaptions = [];
  const reducedMotion = matchMedia('(prefers-reduced-motion: reduce)');

  // What tests and bug reports read back: the frames shown (with ?record=N), the keys arrived.
  // With each recorded frame, the label's text as it was shown and when (performance.now()); and
  // when the page's clock took its first reading, which a fixed start counts on from.
  const test = { frames: [], labelsShown: [], record: Number(settings.get('record') || 0),
                 shown: 0, keys: [], boxes: 0, firstFrameAt: 0, clockOrigin: 0 };

  // The largest whole factor that fits the browser's window (or the screen, in fullscreen).
  function layout() {
    const stage = document.getElementById('stage');
    const w = stage.clientWidth, h = stage.clientHeight;
    const scale = Math.max(1, Math.floor(Math.min(w / kWidth, h / kHeight)));
    win.style.transform = `scale(${scale})`;
    win.style.left = `${Math.max(0, Math.floor((w - kWidth * scale) / 2))}px`;
    win.style.top = `${Math.max(0, Math.floor((h - kHeight * scale) / 2))}px`;
    // The box and the error are the window's: as large as its page.
    box.style.zoom = scale;
    document.getElementById('error').style.zoom = scale;
  }
  addEventListener('resize', layout);
  addEventListener('DOMContentLoaded', layout);
  document.addEventListener('fullscreenchange', layout);

  function toggleFullscreen() {
    if (document.fullscreenElement) document.exitFullscreen();
    else document.getElementById('stage').requestFullscreen().catch(() => {});
  }
  document.getElementById('fullscreen').addEventListener('click', toggleFullscreen);
  canvas.addEventListener('dblclick', toggleFullscreen);

  function shiftBits(e) {
    return (e.shiftKey ? 1 : 0) | (e.ctrlKey ? 2 : 0) | (e.altKey ? 4 : 0);
  }

  // Keys the page scrolls or navigates by, when pressed alone: taken for the program.
  const kPageKeys = new Set(['Space', 'ArrowUp', 'ArrowDown', 'ArrowLeft', 'ArrowRight',
                             'PageUp', 'PageDown', 'Home', 'End', 'Backspace']);

  document.addEventListener('keydown', (e) => {
    if (box.open || win.hidden) return;
    // A focused menu entry takes Return and Space itself, as a menu does.
    if (e.target instanceof HTMLButtonElement && (e.code === 'Enter' || e.code === 'Space' ||
                                                   e.code === 'NumpadEnter')) return;
    // Alt with the first letter of an entry's caption clicks it, as a menu bar's access key.
    if (e.altKey && !e.ctrlKey && !e.metaKey && e.code.startsWith('Key')) {
      const entry = menuCaptions.findIndex((c) => c[0].toUpperCase() === e.code[3]);
      if (entry >= 0) {
        e.preventDefault();
        events.push({ kind: 'menu', entry });
        return;
      }
    }
    events.push({ kind: 'key', code: e.code, shift: shiftBits(e) });
    // The browser keeps its shortcuts, Tab and the function keys.
    if (!e.ctrlKey && !e.altKey && !e.metaKey && kPageKeys.has(e.code)) e.preventDefault();
  });

  // The version box: closed by OK, Return, Space or Escape.
  box.addEventListener('keydown', (e) => {
    if (['Enter', 'NumpadEnter', 'Space', 'Escape'].includes(e.code)) {
      e.preventDefault();
      e.stopPropagation();  // the key that closes the box is the box's, not the window's
      box.close();
    }
  });
  box.addEventListener('cancel', (e) => { e.preventDefault(); box.close(); });

  // The loop: a pass when the next slot is due; a pass held by the box resumes as it closes. One
  // pass at a time: a pass asked for while one runs is that one.
  let running = false, timer = 0, pass = null;
  function step() {
    timer = 0;
    pass = pass || Module.ccall('OmbrevaleStep', 'number', [], [], { async: true }).then((wait) => {
      pass = null;
      if (wait >= 0 && running) timer = setTimeout(step, wait);
    });
    return pass;
  }
  // A hidden page's timers are slowed down by the browser; back in view, the pass that waits is
  // taken at once, and as the slots do not catch up, the vision simply goes on.
  document.addEventListener('visibilitychange', () => {
    if (document.visibilityState === 'visible' && running && timer) {
      clearTimeout(timer);
      step();
    }
  });
  function run() {
    document.getElementById('start').hidden = true;
    running = true;
    if (!timer) step();
  }

  return {
    setting: (name) => settings.get(name) || '',
    addMenuEntry(index, caption) {
      const entry = document.createElement('button');
      entry.type = 'button';
      entry.setAttribute('role', 'menuitem');
      entry.innerHTML = '';
      const access = document.createElement('u');
      access.textContent = caption.slice(0, 1);
      entry.append(access, caption.slice(1));
      entry.addEventListener('click', () => { events.push({ kind: 'menu', entry: index }); });
      menu.append(entry);
      menuCaptions[index] = caption;
    },
    show() {
      win.hidden = false;
      layout();
    },
    nextEvent: () => events.shift(),
    keyArrived(code) { test.keys.push(code); },
    putPixels(rgba, width, height, x, y) {
      const pixels = new Uint8ClampedArray(rgba.buffer, rgba.byteOffset, width * height * 4);
      context.putImageData(new ImageData(pixels, width, height), x, y);
    },
    setLabel(index, caption, x, y, w, h, color, face, pixels, bold) {
      let label = labels.children[index];
      if (!label) {
        label = document.createElement('div');
        label.className = 'label';
        labels.append(label);
      }
      // Past the box's right edge up to the page's, as on the desktop: the clock stays whole.
      Object.assign(label.style, {
        left: `${x}px`, top: `${y}px`, width: `${Math.max(w, kWidth - x)}px`, height: `${h}px`,
        color: `#${color.toString(16).padStart(6, '0')}`,
        font: `${bold ? 'bold ' : ''}${pixels}px "${face}", "MS PGothic", "IPAPGothic", ` +
              '"IPAexGothic", "Hiragino Kaku Gothic ProN", "Yu Gothic", "Noto Sans CJK JP", sans-serif',
      });
      label.textContent = caption.replace(/\r\n?/g, '\n');
    },
    frameShown() {
      if (test.shown++ === 0) test.firstFrameAt = performance.now();
      if (test.frames.length < test.record) {
        test.frames.push(context.getImageData(2, 2, 400, 300).data);
        const label = labels.children[0];
        test.labelsShown.push({ at: performance.now(), text: label ? label.textContent : '' });
      }
    },
    showBox(title, text) {
      document.getElementById('box-title').textContent = title;
      document.getElementById('box-text').textContent = text.replace(/\r\n?/g, '\n');
      test.boxes++;
      return new Promise((resolve) => {
        box.addEventListener('close', () => {
          events.length = 0;  // what was typed at the page meanwhile is dropped
          resolve();
        }, { once: true });
        box.showModal();
        document.getElementById('box-ok').focus();
      });
    },
    // The window loaded: the vision starts, or waits for the visitor who asked for less motion.
    loaded() {
      if (reducedMotion.matches) {
        // The first frame, standing still, with the clock its pass wrote.
        step().then(() => Module.ccall('OmbrevaleShowStill', null, [], []));
        const start = document.getElementById('start');
        start.hidden = false;
        start.addEventListener('click', run, { once: true });
      } else {
        run();
      }
    },
    fatalError(text) {
      win.hidden = true;
      document.getElementById('error-text').textContent = text;
      document.getElementById('error').hidden = false;
    },
    test,
  };
})();
