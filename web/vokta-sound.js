// The page's sound (page_sound.cpp): js-synthesizer, FluidSynth compiled to
// WebAssembly, with the soundfont cut down to the notes of the game's cues,
// rendered block by block through the game's own tune player into a Web
// Audio script processor. Browsers let a page sound only after a gesture,
// so it starts at the player's first key, click or touch; without Web
// Audio, the synthesizer or the soundfont the page stays silent and says
// why once in the console.
'use strict';

(function () {
  // Frames a block: 43 ms at 48 kHz, the longest a cue waits to sound.
  const BLOCK_FRAMES = 2048;
  const GESTURES = ['keydown', 'mousedown', 'touchend'];

  let synthesizer = null;
  let output = null;
  let left = new Float32Array(0);
  let right = new Float32Array(0);

  const sound = {
    // 'waiting' for the first gesture, 'starting', 'on', or 'off' for good.
    state: 'waiting',
    sampleRate: null,
    // The rest is called by page_sound.cpp.
    message(status, data1, data2) {
      const channel = status & 0x0F;
      switch (status & 0xF0) {
        case 0x80: synthesizer.midiNoteOff(channel, data1); break;
        case 0x90: synthesizer.midiNoteOn(channel, data1, data2); break;
        case 0xA0: synthesizer.midiKeyPressure(channel, data1, data2); break;
        case 0xB0: synthesizer.midiControl(channel, data1, data2); break;
        case 0xC0: synthesizer.midiProgramChange(channel, data1); break;
        case 0xD0: synthesizer.midiChannelPressure(channel, data1); break;
        case 0xE0: synthesizer.midiPitchBend(channel, data1 | (data2 << 7)); break;
      }
    },
    allNotesOff() {
      synthesizer.midiAllNotesOff();
    },
    setGain(gain) {
      synthesizer.setGain(gain);
    },
    // Interleaved stereo into samples, which holds two a frame.
    render(samples) {
      const frames = samples.length / 2;
      if (left.length < frames) {
        left = new Float32Array(frames);
        right = new Float32Array(frames);
      }
      const l = left.subarray(0, frames), r = right.subarray(0, frames);
      synthesizer.render([l, r]);
      for (let i = 0; i < frames; ++i) {
        samples[2 * i] = l[i];
        samples[2 * i + 1] = r[i];
      }
    },
    play(samples) {
      const l = output.getChannelData(0), r = output.getChannelData(1);
      for (let i = 0; i < l.length; ++i) {
        l[i] = samples[2 * i];
        r[i] = samples[2 * i + 1];
      }
    },
  };
  window.vokta.sound = sound;

  function fetchOk(name) {
    return fetch(name).then((response) => {
      if (!response.ok)
        throw new Error(`${name}: ${response.status} ${response.statusText}`);
      return response;
    });
  }

  function loadScript(name) {
    return new Promise((resolve, reject) => {
      const script = document.createElement('script');
      script.src = name;
      script.onload = resolve;
      script.onerror = () => reject(new Error(`${name} did not load`));
      document.head.appendChild(script);
    });
  }

  // Fetched while the page loads, so the sound is ready soon after the first
  // gesture. FluidSynth's module is an Emscripten module of its own, whose
  // script would take the game's global Module: it runs in a scope of its own.
  const fluidSynthText = fetchOk('libfluidsynth.js').then((response) => response.text());
  const soundfont = fetchOk('vokta-sounds.sf2').then((response) => response.arrayBuffer());
  const gameReady = new Promise((resolve) => window.Module.postRun.push(resolve));
  // Failures wait for the first gesture, and are told there.
  for (const promise of [fluidSynthText, soundfont])
    promise.catch(() => {});

  function silence(why) {
    sound.state = 'off';
    console.warn('vokta: no sound: ' + why);
  }

  function start() {
    for (const kind of GESTURES)
      window.removeEventListener(kind, start, true);
    if (typeof AudioContext === 'undefined')
      return silence('the browser has no Web Audio');
    // Made within the gesture, so the browser lets it run.
    const context = new AudioContext();
    sound.state = 'starting';
    Promise.all([fluidSynthText, loadScript('js-synthesizer.min.js'), gameReady])
      .then(([text]) => {
        JSSynth.Synthesizer.initializeWithFluidSynthModule(new Function('Module', text + '\nreturn Module;')({}));
        return JSSynth.waitForReady();
      })
      .then(() => soundfont)
      .then((bytes) => {
        synthesizer = new JSSynth.Synthesizer();
        synthesizer.init(context.sampleRate);
        return synthesizer.loadSFont(bytes);
      })
      .then(() => {
        if (!_vokta_sound_start(context.sampleRate))
          throw new Error('the MIDI stream did not open');
        const node = context.createScriptProcessor(BLOCK_FRAMES, 0, 2);
        node.onaudioprocess = (event) => {
          output = event.outputBuffer;
          _vokta_sound_render(output.length);
        };
        node.connect(context.destination);
        sound.sampleRate = context.sampleRate;
        sound.state = 'on';
      })
      .catch((error) => silence(error.message));
  }
  for (const kind of GESTURES)
    window.addEventListener(kind, start, true);
})();
