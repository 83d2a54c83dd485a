// The page around the game: the start dialog, the menu bar, the message
// boxes, About, the help, the library and the file picker, the canvas's
// keys, mouse and touch handed to the game (page.cpp), and window.vokta for
// scripts and tests. What the game decides, every word of the menus and
// dialogs and every number handed back come from the WebAssembly module's
// shell; this script only draws and forwards.
'use strict';

(function () {
  const byId = (id) => document.getElementById(id);
  const canvas = byId('view');
  const menubar = byId('menubar');
  const pictureCanvas = byId('picture');
  const loadFile = byId('load-file');
  // The game's own numbers and names (page_shell.cpp): the mouse messages'
  // kinds, the commands by name, the storage's keys; read as the module starts.
  let table = null;
  // MouseEvent.button and .buttons for the left button.
  const LeftButton = 0, RightButton = 2, LeftFlag = 1, RightFlag = 2;
  // Touch: a press held this long without moving is a right click; a move
  // this far makes it a drag; a second tap this soon and this near is a
  // double click.
  const LongPressMs = 500, DragSlopPx = 8, DoubleTapMs = 400, DoubleTapSlopPx = 24;

  const params = new URLSearchParams(location.search);
  const seed = params.get('seed');
  let buttonsHeld = 0;
  let playRuns = 0;
  let texts = null;
  let menus = [];

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
      byId('message-caption').textContent = caption;
      byId('message-text').textContent = text;
      openModal('message', byId('message-ok'));
    },
    // The game in view: {started, selected, falling, taskCompleted, ticks, task}.
    status() {
      return JSON.parse(UTF8ToString(_vokta_status()));
    },
    // The menus as the shell shows them now: words, checks and grey items.
    showMenus(shown) {
      showMenus(shown);
    },
    // What the shell last said the menus are (tests hold the menu bar against it).
    shownMenus() {
      return menus;
    },
    openHelp(page) {
      openHelp(texts.helpFolder + page);
    },
    showHelpPopup(command, html) {
      showHelpPopup(command, html);
    },
    showAbout() {
      // Each picture has a twice as large one beside it for screens of two
      // device pixels to a CSS pixel.
      const picture = byId('about-picture');
      picture.src = texts.about;
      picture.srcset = `${texts.about} 1x, ${texts.about.replace(/\.png$/, '@2x.png')} 2x`;
      openModal('about', byId('about-box'));
    },
    openLibrary(listing) {
      openLibrary(listing);
    },
    openLoadPicker() {
      loadFile.value = '';
      loadFile.click();
    },
    openDifficulty() {
      openModal('random', byId('random-buttons').querySelector('button'));
    },
    // The task of a day, 'YYYY-MM-DD', as a task file's bytes, the same as
    // the desktop's Today's task and vokta-task daily make; a date that is
    // no day from 2000 to 2999 is refused by name.
    daily(date) {
      const answer = JSON.parse(withString(String(date), (text) => UTF8ToString(_vokta_daily(text))));
      if (answer.problem !== undefined)
        throw new Error('vokta: ' + answer.problem);
      return Uint8Array.from(answer.bytes);
    },
    // Hands a file the game wrote to the browser as a download, and forgets it.
    download(path, name) {
      const bytes = FS.readFile(path);
      FS.unlink(path);
      const link = document.createElement('a');
      link.href = URL.createObjectURL(new Blob([bytes], { type: 'application/octet-stream' }));
      link.download = name;
      document.body.appendChild(link);
      link.click();
      link.remove();
      setTimeout(() => URL.revokeObjectURL(link.href), 0);
    },
    languageChanged() {
      loadTexts();
    },
    // Words for a screen reader ({description, sentences}): said in the
    // polite live region; Describe's also kept as the scene's outline, its
    // first sentence the heading and each other an item.
    speak(spoken) {
      const said = document.createElement('p');
      said.textContent = spoken.sentences.join(' ');
      byId('spoken').replaceChildren(said);
      if (!spoken.description)
        return;
      const heading = document.createElement('h2');
      heading.textContent = spoken.sentences[0];
      const list = document.createElement('ul');
      for (const sentence of spoken.sentences.slice(1)) {
        const item = document.createElement('li');
        item.textContent = sentence;
        list.appendChild(item);
      }
      byId('outline').replaceChildren(heading, list);
    },
    // Share task...: the code, and the link that opens this page on its task.
    showTaskCode(code) {
      byId('share-code').value = code;
      byId('share-link').value = taskLink(code);
      byId('share-copy').textContent = texts.copy;
      openModal('share', byId('share-ok'));
    },
    // Open task code...: a code or a link, pasted or typed.
    askTaskCode() {
      byId('open-code-text').value = '';
      openModal('open-code', byId('open-code-text'));
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
    if (text === null)
      return use(0);
    const size = lengthBytesUTF8(text) + 1;
    const pointer = _malloc(size);
    try {
      stringToUTF8(text, pointer, size);
      return use(pointer);
    } finally {
      _free(pointer);
    }
  }

  // ---- Dialogs: one modal at a time over the game; it holds the keyboard
  // until it closes, and the game takes it back when the last one does.

  let modal = null;
  let modalFocus = null;

  function openModal(id, focus) {
    closeMenus();
    if (modal !== null && modal !== id)
      byId(modal).hidden = true;
    modal = id;
    modalFocus = focus;
    byId(id).hidden = false;
    focus.focus();
  }

  function closeModal(id) {
    byId(id).hidden = true;
    if (modal === id)
      modal = null;
    giveKeyboardToGame();
  }

  // What holds the keyboard: the open dialog, else the open popup, else the
  // game once it runs; null before then.
  function keyboardOwner() {
    if (modal !== null)
      return byId(modal);
    if (openIndex >= 0)
      return popups[openIndex];
    const status = window.vokta.ready ? window.vokta.status() : null;
    return status !== null && status.started ? canvas : null;
  }

  function giveKeyboardToGame() {
    if (keyboardOwner() === canvas)
      canvas.focus();
  }

  // Focus that strays from its owner (a click on the help panel, its page or
  // beside a dialog) goes back to it; the next key acts where it did before.
  document.addEventListener('focusout', () => setTimeout(() => {
    const owner = keyboardOwner();
    if (owner !== null && document.hasFocus() && !owner.contains(document.activeElement))
      (owner === byId(modal) ? modalFocus : owner).focus();
  }, 0));

  // Tab goes round the open dialog's buttons and never out of it; in the
  // game and its popups it does nothing, so the keyboard stays there.
  document.addEventListener('keydown', (event) => {
    if (event.key !== 'Tab')
      return;
    event.preventDefault();
    if (modal === null)
      return;
    const stops = Array.from(byId(modal).querySelectorAll('button, [tabindex]'))
      .filter((element) => element.tabIndex >= 0 && !element.disabled && element.getClientRects().length > 0);
    const at = stops.indexOf(document.activeElement);
    if (stops.length > 0)
      stops[event.shiftKey ? (at <= 0 ? stops.length - 1 : at - 1) : (at + 1) % stops.length].focus();
  }, true);

  byId('message-ok').addEventListener('click', () => closeModal('message'));
  byId('message').addEventListener('keydown', (event) => {
    if (event.key === 'Escape' || event.key === 'Enter') {
      event.preventDefault();
      closeModal('message');
    }
  });

  // About closes on any key, or when a mouse button is let go over it.
  byId('about').addEventListener('keydown', (event) => {
    event.preventDefault();
    closeModal('about');
  });
  byId('about-box').addEventListener('mouseup', () => closeModal('about'));

  // ---- The start dialog: START (Enter) starts the game, HELP opens the
  // help beside it, QUIT (Escape) ends; a page cannot close itself, so the
  // end is a page of its own with a way back.

  function showStart() {
    openModal('start', byId('start-start'));
  }

  function startGame() {
    closeModal('start');
    menubar.hidden = false;
    _vokta_start();
    canvas.focus();
    openAddressTask();
  }

  byId('start-start').addEventListener('click', startGame);
  byId('start-help').addEventListener('click', () => window.vokta.openHelp('index.html'));
  byId('start-quit').addEventListener('click', () => {
    closeHelp();
    openModal('ended', byId('ended-again'));
  });
  byId('start').addEventListener('keydown', (event) => {
    if (event.key === 'Escape') {
      event.preventDefault();
      byId('start-quit').click();
    } else if (event.key === 'Enter' && document.activeElement.tagName !== 'BUTTON') {
      event.preventDefault();
      startGame();
    }
  });
  byId('ended-again').addEventListener('click', showStart);

  // ---- The menu bar: the game's three popups in the interface's language,
  // mnemonics with Alt, the arrows, Enter and Escape in the popups, and F1
  // on a highlighted item for its help.

  let titles = [];
  let popups = [];
  let openIndex = -1;
  let highlighted = null;
  let helpRequested = false;

  // "&Task": the title without the ampersand, and its mnemonic letter.
  function mnemonicOf(title) {
    const at = title.indexOf('&');
    return { before: title.slice(0, at), letter: title.charAt(at + 1), after: title.slice(at + 2) };
  }

  // The dialogs' words in the interface's language.
  function loadTexts() {
    texts = JSON.parse(UTF8ToString(_vokta_words()));
    document.documentElement.lang = texts.language === 'Russian' ? 'ru' : 'en';
    byId('start-start').textContent = texts.start;
    byId('start-help').textContent = texts.help;
    byId('start-quit').textContent = texts.quit;
    byId('message-ok').textContent = texts.ok;
    byId('library-caption').textContent = texts.libraryCaption;
    byId('library-open').textContent = texts.open;
    byId('library-cancel').textContent = texts.cancel;
    byId('help-caption').textContent = texts.helpCaption;
    byId('random-caption').textContent = texts.randomCaption;
    byId('random-question').textContent = texts.randomQuestion;
    byId('random-cancel').textContent = texts.cancel;
    const difficulties = byId('random-buttons').querySelectorAll('button');
    texts.difficulties.forEach((words, index) => { difficulties[index].textContent = words; });
    byId('help-contents').textContent = texts.helpContents;
    byId('help-back').textContent = texts.helpBack;
    canvas.setAttribute('aria-label', texts.view);
    byId('outline').setAttribute('aria-label', texts.view);
    byId('share-caption').textContent = texts.shareCaption;
    byId('share-code-label').textContent = texts.shareCode;
    byId('share-link-label').textContent = texts.shareLink;
    byId('share-ok').textContent = texts.ok;
    byId('open-code-caption').textContent = texts.openCodeCaption;
    byId('open-code-label').textContent = texts.openCodePrompt;
    byId('open-code-open').textContent = texts.open;
    byId('open-code-cancel').textContent = texts.cancel;
  }

  // The items' commands, popup by popup: menus with the same ones are
  // brought up to date in place, so that an open popup stays open.
  function layoutOf(shown) {
    return JSON.stringify(shown.map((menu) => menu.items.map((item) => item.command)));
  }

  function showMenus(shown) {
    if (layoutOf(shown) !== layoutOf(menus) || titles.length === 0)
      buildMenus(shown);
    menus = shown;
    shown.forEach((menu, index) => {
      const title = titles[index];
      const parts = mnemonicOf(menu.title);
      title.replaceChildren(parts.before, underlined(parts.letter), parts.after);
      title.dataset.mnemonic = parts.letter.toLowerCase();
      title.classList.toggle('disabled', !menu.enabled);
      title.setAttribute('aria-disabled', String(!menu.enabled));
      if (!menu.enabled && openIndex === index)
        closeMenus();
      const rows = popups[index].querySelectorAll('.item');
      menu.items.forEach((item, at) => {
        const row = rows[at];
        row.querySelector('.text').textContent = item.text;
        row.querySelector('.keys').textContent = item.keys;
        row.querySelector('.check').textContent = item.checked ? '\u2713' : '';
        if (item.checkable)
          row.setAttribute('aria-checked', String(item.checked));
        row.classList.toggle('disabled', !item.enabled);
        row.setAttribute('aria-disabled', String(!item.enabled));
        if (!item.enabled && row === highlighted)
          highlight(null);
      });
    });
  }

  function underlined(letter) {
    const mark = document.createElement('u');
    mark.textContent = letter;
    return mark;
  }

  function buildMenus(shown) {
    closeMenus();
    menubar.textContent = '';
    for (const popup of popups)
      popup.remove();
    titles = [];
    popups = [];
    shown.forEach((menu, index) => {
      const title = document.createElement('div');
      title.className = 'menu-title';
      title.setAttribute('role', 'menuitem');
      title.addEventListener('mousedown', (event) => {
        event.preventDefault();
        if (openIndex === index)
          closeMenus();
        else
          openPopup(index, false);
      });
      title.addEventListener('mouseenter', () => {
        if (openIndex >= 0 && openIndex !== index)
          openPopup(index, false);
      });
      menubar.appendChild(title);
      titles.push(title);

      const popup = document.createElement('div');
      popup.className = 'popup';
      popup.setAttribute('role', 'menu');
      popup.tabIndex = -1;
      popup.hidden = true;
      for (const item of menu.items) {
        if (item.separatorBefore)
          popup.appendChild(separator());
        popup.appendChild(menuItem(item));
      }
      popup.addEventListener('keydown', menuKey);
      document.body.appendChild(popup);
      popups.push(popup);
    });
  }

  function separator() {
    const line = document.createElement('div');
    line.className = 'separator';
    line.setAttribute('role', 'separator');
    return line;
  }

  function menuItem(item) {
    const row = document.createElement('div');
    row.className = 'item';
    row.setAttribute('role', item.checkable ? 'menuitemcheckbox' : 'menuitem');
    row.dataset.command = item.command;
    row.dataset.name = item.name;
    for (const part of ['check', 'text', 'keys']) {
      const span = document.createElement('span');
      span.className = part;
      row.appendChild(span);
    }
    // Only a pointer that moves highlights: a popup opened by its key under
    // a pointer at rest keeps its first item, as the arrows expect.
    row.addEventListener('mousemove', (event) => {
      if ((event.movementX !== 0 || event.movementY !== 0) && highlighted !== row)
        highlight(row);
    });
    row.addEventListener('mousedown', (event) => event.preventDefault());
    row.addEventListener('click', () => choose(row));
    return row;
  }

  function itemFor(command) {
    return document.querySelector(`.item[data-command="${command}"]`);
  }

  function openPopup(index, byKeyboard) {
    if (titles[index].classList.contains('disabled'))
      return;
    if (modal !== null)
      return;
    closeMenus(true);
    openIndex = index;
    titles[index].classList.add('open');
    const popup = popups[index];
    const box = titles[index].getBoundingClientRect();
    popup.style.left = box.left + 'px';
    popup.style.top = box.bottom + 'px';
    popup.hidden = false;
    // Kept on a narrow screen: moved left as far as it must.
    const overflow = popup.getBoundingClientRect().right - document.documentElement.clientWidth;
    if (overflow > 0)
      popup.style.left = Math.max(0, box.left - overflow) + 'px';
    popup.focus();
    if (byKeyboard)
      highlight(enabledItems(popup)[0] || null);
  }

  // keepKeyboard: another popup opens at once.
  function closeMenus(keepKeyboard = false) {
    if (openIndex < 0)
      return;
    titles[openIndex].classList.remove('open');
    popups[openIndex].hidden = true;
    openIndex = -1;
    highlight(null);
    if (!keepKeyboard) {
      helpRequested = false;
      giveKeyboardToGame();
    }
  }

  function enabledItems(popup) {
    return Array.from(popup.querySelectorAll('.item:not(.disabled)'));
  }

  function highlight(row) {
    if (highlighted !== null)
      highlighted.classList.remove('highlighted');
    highlighted = row !== null && !row.classList.contains('disabled') ? row : null;
    if (highlighted !== null)
      highlighted.classList.add('highlighted');
  }

  function choose(row) {
    if (row.classList.contains('disabled'))
      return;
    const command = Number(row.dataset.command);
    const help = helpRequested;
    closeMenus();
    _vokta_menu_command(command, help ? 1 : 0);
  }

  // The next popup that can open, going by step from index.
  function neighbour(index, step) {
    for (let k = 1; k <= titles.length; ++k) {
      const next = (index + step * k + titles.length * k) % titles.length;
      if (!titles[next].classList.contains('disabled'))
        return next;
    }
    return index;
  }

  // The title whose mnemonic a key with Alt names: by the character typed,
  // or, for a Latin letter, by the key itself, since Option with a letter
  // types another character on a Mac.
  function titleForMnemonic(event) {
    return titles.findIndex((title) => title.dataset.mnemonic === event.key.toLowerCase() ||
      (/^[a-z]$/.test(title.dataset.mnemonic) && event.code === 'Key' + title.dataset.mnemonic.toUpperCase()));
  }

  function menuKey(event) {
    const items = enabledItems(popups[openIndex]);
    const at = items.indexOf(highlighted);
    switch (event.key) {
    case 'ArrowDown': highlight(items[(at + 1) % items.length] || null); break;
    case 'ArrowUp': highlight(items[(at - 1 + items.length) % items.length] || null); break;
    case 'ArrowRight': openPopup(neighbour(openIndex, 1), true); break;
    case 'ArrowLeft': openPopup(neighbour(openIndex, -1), true); break;
    case 'Home': highlight(items[0] || null); break;
    case 'End': highlight(items[items.length - 1] || null); break;
    case 'Enter':
    case ' ':
      if (highlighted !== null)
        choose(highlighted);
      break;
    case 'Escape': closeMenus(); break;
    case 'F1':
      // As Enter, but the item chosen shows its help; on a popup with
      // nothing highlighted, the next item chosen does.
      helpRequested = true;
      if (highlighted !== null)
        choose(highlighted);
      break;
    default:
      if (event.altKey && titleForMnemonic(event) >= 0)
        openPopup(titleForMnemonic(event), true);
      break;
    }
    event.preventDefault();
    event.stopPropagation();
  }

  // Alt with a title's letter opens its popup, wherever the keyboard is in
  // the game; F1 is the game's, not the browser's.
  document.addEventListener('keydown', (event) => {
    if (event.key === 'F1')
      event.preventDefault();
    if (!event.altKey || modal !== null || menubar.hidden || openIndex >= 0)
      return;
    const index = titleForMnemonic(event);
    if (index >= 0) {
      event.preventDefault();
      event.stopPropagation();
      openPopup(index, true);
    }
  }, true);

  // A press outside the open popup closes it and does nothing else.
  document.addEventListener('mousedown', (event) => {
    if (openIndex < 0 || popups[openIndex].contains(event.target) || menubar.contains(event.target))
      return;
    closeMenus();
    event.preventDefault();
    event.stopPropagation();
  }, true);

  // ---- Help: the help pages in a panel beside the game, with the contents
  // and the way back; F1's small pop-ups over it.

  const helpPage = byId('help-page');
  let helpTrail = [];
  let helpGoingBack = false;

  function openHelp(url) {
    byId('help').hidden = false;
    document.body.classList.add('help-open');
    helpTrail = [];
    helpPage.src = url;
  }

  function closeHelp() {
    byId('help').hidden = true;
    document.body.classList.remove('help-open');
    giveKeyboardToGame();
  }

  helpPage.addEventListener('load', () => {
    const shown = helpPage.contentWindow.location.href;
    if (helpGoingBack)
      helpGoingBack = false;
    else if (helpTrail[helpTrail.length - 1] !== shown)
      helpTrail.push(shown);
    byId('help-back').disabled = helpTrail.length < 2;
  });
  byId('help-back').addEventListener('click', () => {
    if (helpTrail.length < 2)
      return;
    helpTrail.pop();
    helpGoingBack = true;
    helpPage.src = helpTrail[helpTrail.length - 1];
  });
  byId('help-contents').addEventListener('click', () => {
    helpPage.src = new URL('index.html', helpPage.contentWindow.location.href).href;
  });
  byId('help-close').addEventListener('click', closeHelp);

  const helpPopup = byId('help-popup');

  // F1's pop-up: the item's help as the shell words it, below the item.
  function showHelpPopup(command, html) {
    helpPopup.innerHTML = html;
    const row = itemFor(command);
    const box = (row && !row.parentElement.hidden ? row : titles[0]).getBoundingClientRect();
    helpPopup.style.left = Math.max(0, box.left + 24) + 'px';
    helpPopup.style.top = box.bottom + 'px';
    helpPopup.hidden = false;
    const overflow = helpPopup.getBoundingClientRect().right - document.documentElement.clientWidth;
    if (overflow > 0)
      helpPopup.style.left = Math.max(0, box.left + 24 - overflow) + 'px';
  }

  // The pop-up goes at the next key or press, which does nothing else.
  for (const kind of ['keydown', 'mousedown']) {
    document.addEventListener(kind, (event) => {
      if (helpPopup.hidden)
        return;
      helpPopup.hidden = true;
      event.preventDefault();
      event.stopPropagation();
      giveKeyboardToGame();
    }, true);
  }

  // ---- The task library: every task with its picture, drawn by the game's
  // renderer as the dialog opens, its name, how hard it is and the player's best.

  const libraryList = byId('library-list');
  let libraryRows = [];
  let libraryCurrent = -1;
  let pictureRun = 0;

  function openLibrary(listing) {
    libraryList.textContent = '';
    libraryRows = listing.map((task, index) => {
      const row = document.createElement('div');
      row.className = 'task';
      row.setAttribute('role', 'option');
      row.title = task.solutions;
      const picture = document.createElement('canvas');
      const name = task.record === null ? task.name : '\u2714 ' + task.name;
      const words = [name, task.difficulty].concat(task.record === null ? [] : [task.record])
        .concat(task.daysInARow === null ? [] : [task.daysInARow]).join('\n');
      row.append(picture, words);
      row.addEventListener('click', () => setLibraryCurrent(index));
      row.addEventListener('dblclick', () => chooseFromLibrary(index));
      libraryList.appendChild(row);
      return row;
    });
    setLibraryCurrent(0);
    openModal('library', libraryList);
    drawPictures(++pictureRun, 0);
  }

  // One picture a turn, so the dialog answers while they come.
  function drawPictures(run, index) {
    if (run !== pictureRun || index >= libraryRows.length || byId('library').hidden)
      return;
    if (_vokta_draw_library_picture(index)) {
      // As many pixels as the game drew: the screen's, not the layout's.
      const shown = libraryRows[index].querySelector('canvas');
      shown.width = pictureCanvas.width;
      shown.height = pictureCanvas.height;
      shown.getContext('2d').drawImage(pictureCanvas, 0, 0);
    }
    setTimeout(() => drawPictures(run, index + 1), 0);
  }

  function setLibraryCurrent(index) {
    if (libraryCurrent >= 0 && libraryRows[libraryCurrent])
      libraryRows[libraryCurrent].classList.remove('current');
    libraryCurrent = Math.max(0, Math.min(index, libraryRows.length - 1));
    const row = libraryRows[libraryCurrent];
    row.classList.add('current');
    row.setAttribute('aria-selected', 'true');
    row.scrollIntoView({ block: 'nearest' });
  }

  // The task opened, or -1 when the library was closed without one.
  function chooseFromLibrary(index) {
    closeModal('library');
    _vokta_library_chosen(index);
  }

  function tasksPerRow() {
    const first = libraryRows[0].getBoundingClientRect();
    return Math.max(1, libraryRows.filter((row) => row.getBoundingClientRect().top === first.top).length);
  }

  byId('library-open').addEventListener('click', () => chooseFromLibrary(libraryCurrent));
  byId('library-cancel').addEventListener('click', () => chooseFromLibrary(-1));
  byId('library').addEventListener('keydown', (event) => {
    const moves = { ArrowLeft: -1, ArrowRight: 1, ArrowUp: -tasksPerRow(), ArrowDown: tasksPerRow() };
    if (event.key in moves && event.target === libraryList)
      setLibraryCurrent(libraryCurrent + moves[event.key]);
    else if (event.key === 'Enter' && event.target === libraryList)
      chooseFromLibrary(libraryCurrent);
    else if (event.key === 'Escape')
      chooseFromLibrary(-1);
    else
      return;
    event.preventDefault();
  });

  // ---- Random task: a button for each difficulty, in the order the game
  // numbers them, and Cancel (or Escape).

  function chooseDifficulty(index) {
    closeModal('random');
    _vokta_difficulty_chosen(index);
  }

  byId('random-buttons').querySelectorAll('button').forEach((button, index) => {
    button.addEventListener('click', () => chooseDifficulty(index));
  });
  byId('random-cancel').addEventListener('click', () => chooseDifficulty(-1));
  byId('random').addEventListener('keydown', (event) => {
    if (event.key === 'Escape') {
      event.preventDefault();
      chooseDifficulty(-1);
    }
  });

  // ---- Task codes: Share task... shows the task's code and its link, with
  // a button that copies the link; Open task code... hands what the player
  // gives to the game, which refuses a bad code itself; the address's
  // #task=CODE opens its task once the game has started.

  // This page's own address with the task in it, without ?seed or ?start.
  function taskLink(code) {
    return new URL('index.html#task=' + code, location.href).href;
  }

  function openTaskCode(text) {
    withString(text, (pointer) => _vokta_open_task_code(pointer));
  }

  // The clipboard as the browser offers it to a secure page; elsewhere the
  // selected text copied the old way.
  async function copyLink() {
    const link = byId('share-link');
    try {
      await navigator.clipboard.writeText(link.value);
    } catch (error) {
      link.select();
      if (!document.execCommand('copy'))
        return;
    }
    byId('share-copy').textContent = texts.copied;
  }

  byId('share-copy').addEventListener('click', copyLink);
  byId('share-ok').addEventListener('click', () => closeModal('share'));
  // Enter closes it wherever the keyboard is, a copy made or not.
  byId('share').addEventListener('keydown', (event) => {
    if (event.key === 'Escape' || event.key === 'Enter') {
      event.preventDefault();
      closeModal('share');
    }
  });

  function answerOpenCode(open) {
    const text = byId('open-code-text').value;
    closeModal('open-code');
    if (open)
      openTaskCode(text);
  }

  byId('open-code-open').addEventListener('click', () => answerOpenCode(true));
  byId('open-code-cancel').addEventListener('click', () => answerOpenCode(false));
  byId('open-code').addEventListener('keydown', (event) => {
    if (event.key === 'Escape' || (event.key === 'Enter' && event.target.tagName !== 'BUTTON')) {
      event.preventDefault();
      answerOpenCode(event.key === 'Enter');
    }
  });

  // The address's task, once: START again after QUIT goes on with the game.
  let addressTaskOpened = false;

  function openAddressTask() {
    if (!addressTaskOpened && location.hash.startsWith('#task='))
      openTaskCode(location.hash);
    addressTaskOpened = true;
  }

  // A link to another task pasted into the address bar of the page open.
  window.addEventListener('hashchange', () => {
    if (window.vokta.ready && window.vokta.status().started && location.hash.startsWith('#task='))
      openTaskCode(location.hash);
  });

  // ---- Load: the browser's file picker; the file chosen goes to the game
  // as its name and bytes, which its messages name it by. Save downloads
  // (see download).

  function loadChosen(name, bytes) {
    if (name === null) {
      _vokta_load_chosen(0, 0, 0);
    } else {
      const data = _malloc(Math.max(1, bytes.length));
      try {
        HEAPU8.set(bytes, data);
        withString(name, (text) => _vokta_load_chosen(text, data, bytes.length));
      } finally {
        _free(data);
      }
    }
    giveKeyboardToGame();
  }

  loadFile.addEventListener('change', async () => {
    const file = loadFile.files[0];
    if (!file)
      loadChosen(null, null);
    else
      loadChosen(file.name, new Uint8Array(await file.arrayBuffer()));
  });
  loadFile.addEventListener('cancel', () => loadChosen(null, null));

  // ---- The game's keys, mouse and touch. (The game acts on a key going up
  // only when it saw it go down: the Enter that closed a message lets no
  // piece go; the shell's keyboard sees to that.)

  canvas.addEventListener('keydown', (event) => {
    const used = withString(event.key, (key) =>
      _vokta_key_down(key, event.shiftKey, event.ctrlKey, event.altKey, event.metaKey));
    if (used)
      event.preventDefault();
  });
  canvas.addEventListener('keyup', (event) => {
    withString(event.key, (key) => _vokta_key_up(key, event.shiftKey, event.ctrlKey, event.altKey, event.metaKey));
  });
  canvas.addEventListener('blur', () => _vokta_focus_lost());

  // The pixel at a page position, counted from the canvas's top left
  // corner; negative or past the edges while a drag has left it.
  function sendMouseAt(kind, clientX, clientY, button, buttons, shift = false, ctrl = false) {
    const box = canvas.getBoundingClientRect();
    _vokta_mouse(kind, Math.floor(clientX - box.left), Math.floor(clientY - box.top), button, buttons, shift, ctrl);
  }

  function sendMouse(kind, event) {
    sendMouseAt(kind, event.clientX, event.clientY, event.button, event.buttons, event.shiftKey, event.ctrlKey);
  }

  canvas.addEventListener('mousedown', (event) => {
    canvas.focus();
    event.preventDefault();
    buttonsHeld = event.buttons;
    // Every second press in a row is a double click, as the desktop reports it.
    const second = event.detail >= 2 && event.detail % 2 === 0;
    sendMouse(second ? table.mouse.DoubleClick : table.mouse.ButtonDown, event);
  });
  // A drag that leaves the canvas goes on being reported, as on the desktop.
  window.addEventListener('mouseup', (event) => {
    if (buttonsHeld === 0 && event.target !== canvas)
      return;
    buttonsHeld = event.buttons;
    sendMouse(table.mouse.ButtonUp, event);
  });
  window.addEventListener('mousemove', (event) => {
    if (buttonsHeld !== 0 || event.target === canvas)
      sendMouse(table.mouse.MouseMove, event);
  });
  canvas.addEventListener('contextmenu', (event) => event.preventDefault());

  // Touch: a tap is a left click (two in quick succession a double click),
  // a drag a left drag, a long press a right click, a pinch moves the camera
  // in and out as a right drag does, a unit for each pixel the fingers
  // spread or close.
  let touch = null;
  let lastTap = null;
  let pinch = null;

  function fingerSpread() {
    const [a, b] = Object.values(pinch.fingers);
    return Math.hypot(a.x - b.x, a.y - b.y);
  }

  // A second finger turns what the first began into a pinch.
  function startPinch(event) {
    clearTimeout(touch.timer);
    if (touch.dragging)
      sendMouseAt(table.mouse.ButtonUp, touch.x, touch.y, LeftButton, 0);
    canvas.setPointerCapture(event.pointerId);
    pinch = { fingers: { [touch.id]: { x: touch.x, y: touch.y }, [event.pointerId]: { x: event.clientX, y: event.clientY } } };
    pinch.spread = fingerSpread();
    touch = null;
    lastTap = null;
  }

  canvas.addEventListener('pointerdown', (event) => {
    if (event.pointerType !== 'touch' || pinch !== null)
      return;
    if (touch !== null) {
      event.preventDefault();
      startPinch(event);
      return;
    }
    event.preventDefault();
    canvas.focus();
    canvas.setPointerCapture(event.pointerId);
    touch = { id: event.pointerId, x: event.clientX, y: event.clientY, dragging: false, pressedLong: false };
    touch.timer = setTimeout(() => {
      touch.pressedLong = true;
      lastTap = null;
      sendMouseAt(table.mouse.ButtonDown, touch.x, touch.y, RightButton, RightFlag);
      sendMouseAt(table.mouse.ButtonUp, touch.x, touch.y, RightButton, 0);
    }, LongPressMs);
  });
  canvas.addEventListener('pointermove', (event) => {
    if (pinch !== null && event.pointerId in pinch.fingers) {
      pinch.fingers[event.pointerId] = { x: event.clientX, y: event.clientY };
      const spread = fingerSpread();
      _vokta_zoom(spread - pinch.spread);
      pinch.spread = spread;
      return;
    }
    if (touch === null || event.pointerId !== touch.id || touch.pressedLong)
      return;
    if (!touch.dragging && Math.hypot(event.clientX - touch.x, event.clientY - touch.y) >= DragSlopPx) {
      clearTimeout(touch.timer);
      touch.dragging = true;
      lastTap = null;
      sendMouseAt(table.mouse.ButtonDown, touch.x, touch.y, LeftButton, LeftFlag);
    }
    if (touch.dragging)
      sendMouseAt(table.mouse.MouseMove, event.clientX, event.clientY, LeftButton, LeftFlag);
  });
  // The pinch ends with the first finger lifted.
  function endPinch(event) {
    if (pinch === null || !(event.pointerId in pinch.fingers))
      return false;
    pinch = null;
    return true;
  }

  canvas.addEventListener('pointerup', (event) => {
    if (endPinch(event) || touch === null || event.pointerId !== touch.id)
      return;
    clearTimeout(touch.timer);
    if (touch.dragging) {
      sendMouseAt(table.mouse.ButtonUp, event.clientX, event.clientY, LeftButton, 0);
    } else if (!touch.pressedLong) {
      const second = lastTap !== null && event.timeStamp - lastTap.time <= DoubleTapMs &&
        Math.hypot(touch.x - lastTap.x, touch.y - lastTap.y) <= DoubleTapSlopPx;
      const kind = second ? table.mouse.DoubleClick : table.mouse.ButtonDown;
      sendMouseAt(kind, touch.x, touch.y, LeftButton, LeftFlag);
      sendMouseAt(table.mouse.ButtonUp, touch.x, touch.y, LeftButton, 0);
      lastTap = second ? null : { time: event.timeStamp, x: touch.x, y: touch.y };
    }
    touch = null;
  });
  canvas.addEventListener('pointercancel', (event) => {
    if (endPinch(event) || touch === null || event.pointerId !== touch.id)
      return;
    clearTimeout(touch.timer);
    if (touch.dragging)
      sendMouseAt(table.mouse.ButtonUp, touch.x, touch.y, LeftButton, 0);
    touch = null;
  });

  // Leaving the page, or hiding it (a phone may end it unseen), keeps the game.
  window.addEventListener('pagehide', () => {
    if (window.vokta.ready)
      _vokta_keep();
  });
  document.addEventListener('visibilitychange', () => {
    if (window.vokta.ready && document.visibilityState === 'hidden')
      _vokta_keep();
  });

  window.addEventListener('resize', () => {
    if (window.vokta.ready)
      _vokta_resize();
  });

  // ---- Offline: the service worker keeps every file of the page. A newer
  // version takes over once no page of the old one is open, so a start
  // runs on one version whole; the first start on a new one says so in
  // one line.

  function showNoticeLine(text) {
    const line = byId('notice-line');
    line.textContent = text;
    line.hidden = false;
    setTimeout(() => { line.hidden = true; }, 6000);
  }

  function noteVersion(version) {
    window.vokta.version = version;
    let previous = null;
    try {
      previous = localStorage.getItem(table.storage.version);
      localStorage.setItem(table.storage.version, version);
    } catch (error) {
      return;
    }
    if (previous !== null && previous !== version && texts !== null)
      showNoticeLine(texts.updated);
  }

  function askVersion() {
    if (navigator.serviceWorker.controller)
      navigator.serviceWorker.controller.postMessage('version');
  }

  // Once the game has loaded, which the first visit's worker then takes
  // under its care.
  function keepForOffline() {
    if (!('serviceWorker' in navigator))
      return;
    navigator.serviceWorker.addEventListener('message', (event) => {
      if (event.data && event.data.version)
        noteVersion(event.data.version);
    });
    navigator.serviceWorker.addEventListener('controllerchange', askVersion);
    navigator.serviceWorker.register('service-worker.js').then(
      askVersion, (error) => console.info(`vokta: the page cannot be kept for offline play: ${error.message}`));
  }

  window.Module = {
    canvas: canvas,
    arguments: seed === null ? [] : [seed],
    postRun: [() => {
      table = JSON.parse(UTF8ToString(_vokta_table()));
      window.vokta.table = table;
      window.vokta.ready = true;
      // Without WebGL 2 the game has said so, and there is nothing to start.
      if (window.vokta.status() === null)
        return;
      loadTexts();
      _vokta_show_menus();
      // ?today=YYYY-MM-DD: the day today's task is of, instead of the clock's.
      if (params.get('today') !== null)
        withString(params.get('today'), (text) => _vokta_set_today(text));
      keepForOffline();
      // ?start=1 starts at once, as VOKTA_START=1 does on the desktop.
      if (params.get('start') === '1')
        startGame();
      else
        showStart();
    }],
    printErr(text) {
      console.warn(text);
    },
  };
})();
