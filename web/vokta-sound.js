// The page's sound (page_sound.cpp): js-synthesizer, FluidSynth compiled to
// WebAssembly, with the soundfont cut down to the notes of the game's cues,
// rendered block by block through the game's own tune player on the page's
// thread and played by a Web Audio worklet. Browsers let a page sound only
// after a gesture, so it starts at the player's first key, click or touch;
// without Web Audio (or its worklets, which browsers give only to secure
// pages), the synthesizer or the soundfont the page stays silent and says
// why once in the console.
'use strict';

(function () {
  // Frames a block: 43 ms at 48 kHz, the longest a cue waits to sound.
  const BLOCK_FRAMES = 2048;
  const GESTURES = ['keydown', 'mousedown', 'touchend'];

  // The audio thread's side: plays the blocks the page renders, and asks for
  // the next one whenever fewer than two are held or on their way, so that
  // one plays while the next is rendered.
  const PLAYER = `
    class BlockPlayer extends AudioWorkletProcessor {
      constructor(options) {
        super();
        this.blockFrames = options.processorOptions.blockFrames;
        this.blocks = [];
        this.played = 0;
        this.ahead = 0;
        this.port.onmessage = (event) => this.blocks.push(event.data);
      }

      process(inputs, outputs) {
        const [left, right] = outputs[0];
        let frame = 0;
        for (; frame < left.length && this.blocks.length > 0; ++frame) {
          const block = this.blocks[0];
          left[frame] = block[2 * this.played];
          right[frame] = block[2 * this.played + 1];
          if (++this.played === block.length / 2) {
            this.blocks.shift();
            this.played = 0;
          }
        }
        for (this.ahead -= frame; this.ahead < 2 * this.blockFrames; this.ahead += this.blockFrames)
          this.port.postMessage(null);
        return true;
      }
    }
    registerProcessor('vokta-blocks', BlockPlayer);`;

  let synthesizer = null;
  let player = null;
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
    // Interleaved stereo, handed to the worklet.
    play(samples) {
      const block = samples.slice();
      player.port.postMessage(block, [block.buffer]);
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
    if (!('audioWorklet' in AudioContext.prototype))
      return silence('the browser gives Web Audio worklets only to secure pages (https)');
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
        // FluidSynth says two expected things while the soundfont loads: that
        // this build's file checks are stubs, and, as loading selects the
        // first program on every channel, that the cut soundfont has none
        // for the channels the cues never play. It is quiet meanwhile; a
        // load that fails still rejects.
        JSSynth.disableLogging(JSSynth.LogLevel.Error);
        try {
          return synthesizer.loadSFont(bytes);
        } finally {
          JSSynth.restoreLogging();
        }
      })
      .then(() => context.audioWorklet.addModule(URL.createObjectURL(new Blob([PLAYER], { type: 'text/javascript' }))))
      .then(() => {
        if (!_vokta_sound_start(context.sampleRate))
          throw new Error('the MIDI stream did not open');
        player = new AudioWorkletNode(context, 'vokta-blocks', {
          numberOfInputs: 0, outputChannelCount: [2], processorOptions: { blockFrames: BLOCK_FRAMES } });
        player.port.onmessage = () => _vokta_sound_render(BLOCK_FRAMES);
        player.connect(context.destination);
        sound.sampleRate = context.sampleRate;
        sound.state = 'on';
      })
      .catch((error) => silence(error.message));
  }
  for (const kind of GESTURES)
    window.addEventListener(kind, start, true);
})();
