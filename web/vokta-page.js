// The page around the game: hands the canvas's keys and mouse to the game
// (page.cpp), shows its messages, and offers window.vokta to scripts and
// tests. Everything the game decides happens in the WebAssembly module.
'use strict';

(function () {
  const canvas = document.getElementById('view');
  const message = document.getElementById('message');
  // Mouse message kinds as page.cpp numbers them.
  const ButtonDown = 0, ButtonUp = 1, MouseMove = 2, DoubleClick = 3;
  let buttonsHeld = 0;
  let playRuns = 0;

  const seed = new URLSearchParams(location.search).get('seed');

  window.vokta = {
    // Frames drawn so far, and when the first one was (ms since the page began to load).
    frames: 0,
    firstFrameMs: null,
    ready: false,
    frameDrawn(count) {
      this.frames = count;
      if (this.firstFrameMs === null)
        this.firstFrameMs = performance.now();
    },
    showMessage(caption, text) {
      document.getElementById('message-caption').textContent = caption;
      document.getElementById('message-text').textContent = text;
      message.hidden = false;
      document.getElementById('message-ok').focus();
    },
    // Runs a vokta-play script on a game of its own and returns what
    // vokta-play prints. files (name -> Uint8Array) are what load reads;
    // what save writes lands in it.
    play(script, files = {}) {
      const folder = '/play' + (++playRuns);
      FS.mkdir(folder);
      for (const [name, bytes] of Object.entries(files))
        FS.writeFile(folder + '/' + name, bytes);
      const previous = FS.cwd();
      FS.chdir(folder);
      let output;
      try {
        output = withString(script, (text) => UTF8ToString(_vokta_play(text)));
      } finally {
        FS.chdir(previous);
      }
      this.lastExitCode = _vokta_play_exit_code();
      for (const name of FS.readdir(folder)) {
        const path = folder + '/' + name;
        if (name !== '.' && name !== '..' && FS.isFile(FS.stat(path).mode)) {
          files[name] = FS.readFile(path);
          FS.unlink(path);
        }
      }
      removeFolder(folder);
      return output;
    },
    // vokta-play's exit code for the last play: 0, 1 for a failed expect, 2 for a bad script.
    lastExitCode: null,
  };

  function removeFolder(path) {
    for (const name of FS.readdir(path)) {
      if (name === '.' || name === '..')
        continue;
      const inner = path + '/' + name;
      if (FS.isDir(FS.stat(inner).mode))
        removeFolder(inner);
      else
        FS.unlink(inner);
    }
    FS.rmdir(path);
  }

  function withString(text, use) {
    const size = lengthBytesUTF8(text) + 1;
    const pointer = _malloc(size);
    try {
      stringToUTF8(text, pointer, size);
      return use(pointer);
    } finally {
      _free(pointer);
    }
  }

  function closeMessage() {
    message.hidden = true;
    canvas.focus();
  }
  document.getElementById('message-ok').addEventListener('click', closeMessage);
  message.addEventListener('keydown', (event) => {
    if (event.key === 'Escape' || event.key === 'Enter') {
      event.preventDefault();
      closeMessage();
    }
  });

  canvas.addEventListener('keydown', (event) => {
    const used = withString(event.key, (key) =>
      _vokta_key_down(key, event.shiftKey, event.ctrlKey, event.altKey, event.metaKey));
    if (used)
      event.preventDefault();
  });
  canvas.addEventListener('keyup', (event) => {
    withString(event.key, (key) => _vokta_key_up(key, event.altKey));
  });
  canvas.addEventListener('blur', () => _vokta_focus_lost());

  // The pixel under the pointer, counted from the canvas's top left corner;
  // negative or past the edges while a drag has left it.
  function sendMouse(kind, event) {
    const box = canvas.getBoundingClientRect();
    _vokta_mouse(kind, Math.floor(event.clientX - box.left), Math.floor(event.clientY - box.top),
                 event.button, event.buttons, event.shiftKey, event.ctrlKey);
  }
  canvas.addEventListener('mousedown', (event) => {
    canvas.focus();
    event.preventDefault();
    buttonsHeld = event.buttons;
    // Every second press in a row is a double click, as the desktop reports it.
    sendMouse(event.detail >= 2 && event.detail % 2 === 0 ? DoubleClick : ButtonDown, event);
  });
  // A drag that leaves the canvas goes on being reported, as on the desktop.
  window.addEventListener('mouseup', (event) => {
    if (buttonsHeld === 0 && event.target !== canvas)
      return;
    buttonsHeld = event.buttons;
    sendMouse(ButtonUp, event);
  });
  window.addEventListener('mousemove', (event) => {
    if (buttonsHeld !== 0 || event.target === canvas)
      sendMouse(MouseMove, event);
  });
  canvas.addEventListener('contextmenu', (event) => event.preventDefault());
  window.addEventListener('resize', () => {
    if (window.vokta.ready)
      _vokta_resize();
  });

  window.Module = {
    canvas: canvas,
    arguments: seed === null ? [] : [seed],
    postRun: [() => {
      window.vokta.ready = true;
      canvas.focus();
    }],
    printErr(text) {
      console.warn(text);
    },
  };
})();
