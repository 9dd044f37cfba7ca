// SPDX-License-Identifier: MIT
// The page plays as the player's window does. The console is the element
// Text1: the game writes into it and the player types each command at its end
// and presses Enter; the game then reads the text after the last ">". As in
// a terminal, the game's text is not edited: what is typed, pasted or dropped
// on it goes to the end of the console, and nothing takes it away. The two
// Yes/No questions and the game's messages are panels under the console with
// their buttons; Y and N answer a question too. The keyboard's focus is in
// the console whenever the game waits for a line. The Hint button shows,
// in the line beside it, the next command of a shortest way to win, until
// the next line is entered. On a narrow screen the console's text is made
// smaller so that its lines stay whole. Under the game, Restart, Save Game
// and Open Saved Game; the game is kept in the browser after every turn, so
// opening the page again goes on with it.
'use strict';
(function () {
    const State = {Starting: 0, ChoosingLanguage: 1, Playing: 2, Asking: 3, Ended: 4, Stopped: 5};
    const Kind = {Append: 1, Clear: 2, PrependLineBreak: 3, Inform: 4};

    const byId = (id) => document.getElementById(id);
    const Text1 = byId('Text1');
    const question = byId('Question');
    const message = byId('Message');
    const end = byId('End');
    const notice = byId('Notice');
    const again = byId('Again');
    const hintLine = byId('HintLine');

    const encoder = new TextEncoder();
    const decoder = new TextDecoder();
    const messages = []; // the game's messages not yet shown, in order
    let engine = null;
    let session = 0; // the game's WebSession in the engine's memory
    let firstPrompt; // milliseconds from opening the page to the first prompt

    // Older browsers edit only rich text; there a paste is turned into plain text.
    const editing = (function () {
        try {
            document.createElement('div').contentEditable = 'plaintext-only';
            return 'plaintext-only';
        } catch (unsupported) {
            return 'true';
        }
    })();

    // Runs an engine function with each text passed as its UTF-8 bytes and size.
    function withTexts(texts, run) {
        const pieces = texts.map((text) => encoder.encode(text));
        const places = pieces.map((bytes) => {
            const at = engine._malloc(bytes.length + 1);
            engine.HEAPU8.set(bytes, at);
            return at;
        });
        try {
            return run(...pieces.flatMap((bytes, i) => [places[i], bytes.length]));
        } finally {
            places.forEach((at) => engine._free(at));
        }
    }

    // The typed line goes through one buffer kept for it, written in place.
    let lineBuffer = 0;
    const lineBufferSize = 4096;
    function enterLine(text) {
        if (text.length * 3 > lineBufferSize) {
            withTexts([text], (at, size) => engine._qm_enter(session, at, size));
            return;
        }
        if (!lineBuffer)
            lineBuffer = engine._malloc(lineBufferSize);
        const {written} = encoder.encodeInto(text, engine.HEAPU8.subarray(lineBuffer, lineBuffer + lineBufferSize));
        engine._qm_enter(session, lineBuffer, written);
    }

    function textAt(at, size) {
        return decoder.decode(engine.HEAPU8.subarray(at, at + size));
    }

    function bytesOf(base64) {
        if (Uint8Array.fromBase64)
            return Uint8Array.fromBase64(base64);
        const raw = atob(base64);
        const bytes = new Uint8Array(raw.length);
        for (let i = 0; i < raw.length; i++)
            bytes[i] = raw.charCodeAt(i);
        return bytes;
    }

    function waiting() {
        const state = session ? engine._qm_state(session) : State.Starting;
        return state === State.ChoosingLanguage || state === State.Playing;
    }

    function setEditable(on) {
        const mode = on ? editing : 'false';
        if (Text1.contentEditable !== mode) {
            Text1.contentEditable = mode;
            Text1.setAttribute('aria-readonly', on ? 'false' : 'true');
        }
    }

    // The caret goes to the end of the console and the console scrolls there
    // when the page is next drawn, where the browser lays the new text out
    // once anyway; a turn itself lays nothing out. A key pressed before that
    // finds the caret put there first.
    let caretPending = false;
    let framePending = false;
    function placeCaret() {
        if (!caretPending)
            return;
        caretPending = false;
        window.getSelection().collapse(Text1, Text1.childNodes.length);
    }

    function scrollToEnd() {
        if (framePending)
            return;
        framePending = true;
        window.requestAnimationFrame(() => {
            framePending = false;
            placeCaret();
            Text1.scrollTop = Text1.scrollHeight;
        });
    }

    function caretToEnd() {
        caretPending = true;
        scrollToEnd();
    }

    // Where the game's text ends and the typed line begins: the end of the
    // game's last text. Text typed there goes after it and leaves it in place.
    const typedFrom = document.createRange();
    function closeOutput() {
        const last = Text1.lastChild;
        if (last && last.nodeType === Node.TEXT_NODE)
            typedFrom.setStart(last, last.length);
        else
            typedFrom.setStart(Text1, Text1.childNodes.length);
        typedFrom.collapse(true);
    }

    function inOutputAt(node, offset) {
        try {
            return Text1.contains(node) && typedFrom.comparePoint(node, offset) < 0;
        } catch (outside) {
            return false;
        }
    }

    // The caret, or a part of the selection, lies in the game's text.
    function inOutput() {
        const selection = window.getSelection();
        if (!selection.rangeCount)
            return false;
        const range = selection.getRangeAt(0);
        return inOutputAt(range.startContainer, range.startOffset);
    }

    function caretToEndNow() {
        caretPending = false;
        window.getSelection().collapse(Text1, Text1.childNodes.length);
    }

    function typeText(text) {
        if (text)
            document.execCommand('insertText', false, text);
    }

    // What an edit would change: the browser names it, or else (in plain
    // text editing it may not) the selection, or, for a deletion back from
    // the caret, as far back as the deletion would go.
    function reachOf(event) {
        const ranges = event.getTargetRanges();
        const selection = window.getSelection();
        if (ranges.length || !selection.rangeCount)
            return ranges;
        const range = selection.getRangeAt(0).cloneRange();
        if (!range.collapsed || !event.inputType.startsWith('delete') || event.inputType.includes('Forward'))
            return [range];
        const unit = {deleteContentBackward: 'character', deleteWordBackward: 'word'}[event.inputType];
        selection.modify('extend', 'backward', unit ?? 'lineboundary');
        const reach = selection.getRangeAt(0).cloneRange();
        selection.removeAllRanges();
        selection.addRange(range);
        return [reach];
    }

    // Removes what the ranges cover of the typed line, and nothing before it.
    function removeTyped(ranges) {
        for (const target of ranges) {
            if (inOutputAt(target.endContainer, target.endOffset))
                continue;
            const typed = document.createRange();
            typed.setStart(target.startContainer, target.startOffset);
            typed.setEnd(target.endContainer, target.endOffset);
            if (inOutputAt(target.startContainer, target.startOffset))
                typed.setStart(typedFrom.startContainer, typedFrom.startOffset);
            typed.deleteContents();
        }
    }

    // A line the window shows whole is shown whole: when the console is too
    // narrow for the longest such line the game wrote, its text is made
    // smaller, down to a size still readable; below it, lines wrap. Longer
    // lines wrap in the window too. The size changes only when such a line
    // comes, and only the browser's next drawing lays it out.
    const WindowColumns = 80; // the window's console at its first size
    const SmallestFont = 8; // pixels
    let widest = 0; // the longest line up to WindowColumns, in characters
    let column = 0; // the length of the line being written
    let room = 0; // the console's width for text, in pixels
    let largestFont = 0; // the stylesheet's, the window's 12 points
    let advance = 0; // a character's width for each pixel of font size

    function measure(text) {
        let from = 0;
        for (let at = text.indexOf('\n'); at >= 0; at = text.indexOf('\n', from)) {
            const length = column + at - from;
            if (length <= WindowColumns && length > widest)
                widest = length;
            column = 0;
            from = at + 1;
        }
        column += text.length - from;
    }

    function fit() {
        const longest = Math.max(widest, column <= WindowColumns ? column : 0);
        if (!room || !longest)
            return;
        if (!advance) {
            const style = getComputedStyle(Text1);
            largestFont = parseFloat(style.fontSize);
            const probe = document.createElement('canvas').getContext('2d');
            probe.font = `100px ${style.fontFamily}`;
            advance = probe.measureText('0'.repeat(100)).width / 10000;
        }
        // A hundredth of a pixel less, so that rounding never wraps a line.
        const size = Math.max(SmallestFont, Math.min(largestFont, Math.floor(room / (longest * advance) * 100 - 1) / 100));
        const wanted = size < largestFont ? `${size}px` : '';
        if (Text1.style.fontSize !== wanted)
            Text1.style.fontSize = wanted;
    }

    new ResizeObserver((entries) => {
        room = entries[entries.length - 1].contentRect.width;
        fit();
    }).observe(Text1);

    function focusConsole() {
        if (document.activeElement !== Text1)
            Text1.focus({preventScroll: true});
        caretToEnd();
    }

    // The console's text; editing may have left elements in it, which are
    // flattened to their text first, as the game reads plain text.
    function consoleText() {
        if (Text1.childElementCount > 0)
            Text1.textContent = Text1.textContent;
        return Text1.textContent;
    }

    // Enter puts its line break where the caret is, as in the window.
    function typeLineBreak() {
        const selection = window.getSelection();
        const range = selection.rangeCount ? selection.getRangeAt(0) : null;
        if (!range || !Text1.contains(range.commonAncestorContainer)) {
            Text1.append('\n');
            return;
        }
        range.deleteContents();
        if (range.startContainer.nodeType === Node.TEXT_NODE)
            range.startContainer.insertData(range.startOffset, '\n');
        else
            range.insertNode(document.createTextNode('\n'));
    }

    // Does to the console what the game did, in order.
    function applyChanges() {
        const count = engine._qm_changes(session);
        for (let i = 0; i < count; i++) {
            const kind = engine._qm_change_kind(session, i);
            if (kind === Kind.Append) {
                const text = textAt(engine._qm_change_text(session, i), engine._qm_change_size(session, i));
                measure(text);
                Text1.appendChild(document.createTextNode(text));
            } else if (kind === Kind.Clear) {
                Text1.textContent = '';
                column = 0;
            } else if (kind === Kind.PrependLineBreak)
                Text1.insertBefore(document.createTextNode('\n'), Text1.firstChild);
            else if (kind === Kind.Inform)
                messages.push(textAt(engine._qm_change_text(session, i), engine._qm_change_size(session, i)));
        }
        engine._qm_forget_changes(session);
        closeOutput();
        fit();
        scrollToEnd();
    }

    function said(at) {
        return textAt(at, engine._qm_said_size(session));
    }

    function showNotice(text, role) {
        notice.setAttribute('role', role);
        notice.textContent = text;
        end.classList.remove('quiet');
        again.hidden = false;
    }

    // Shows what the game waits for: a message, a question, the end, the
    // stopping error, or the console for the next line.
    function settle() {
        const state = engine._qm_state(session);
        if (messages.length > 0) {
            setEditable(false);
            byId('MessageText').textContent = messages.shift();
            message.hidden = false;
            byId('OK').focus();
        } else if (state === State.Asking) {
            setEditable(false);
            byId('QuestionText').textContent = said(engine._qm_question(session));
            question.hidden = false;
            byId('Yes').focus();
        } else if (state === State.Ended) {
            setEditable(false);
            showNotice('The game has ended.', 'status');
            focusConsole();
        } else if (state === State.Stopped) {
            setEditable(false);
            showNotice('The game has stopped:\n' + said(engine._qm_stop_message(session)).replace(/\r\n/g, '\n'), 'alert');
            focusConsole();
        } else if (waiting()) {
            setEditable(true);
            focusConsole();
            prepareHint();
            if (firstPrompt === undefined)
                firstPrompt = performance.now();
        }
    }

    // The line break is in the console: the game reads the line from it, as
    // the text after the last ">", which is all it is handed.
    function submit() {
        // The hint was for the turn now over.
        hintLine.textContent = '';
        preparedHint = '';
        const text = consoleText();
        enterLine(text.slice(Math.max(text.lastIndexOf('>'), 0)));
        applyChanges();
        settle();
        keepProgress();
    }

    // The next command of a shortest way to win from where the game stands,
    // or why there is none, in the hint line; the console stays as it is.
    function hint() {
        if (!session)
            return;
        hintLine.textContent = preparedHint || said(engine._qm_hint(session));
        if (waiting() && message.hidden)
            focusConsole();
    }

    // The browser runs code the first time at a fraction of its later speed,
    // which would make the first hint several times slower than any other;
    // so once the game first waits for a command, while the player reads,
    // the page finds the hint for where it stands, and keeps it until the
    // next line or answer.
    let preparedHint = '';
    let prepared = false;
    function prepareHint() {
        if (prepared || engine._qm_state(session) !== State.Playing)
            return;
        prepared = true;
        const idle = window.requestIdleCallback ?? ((run) => window.setTimeout(run, 100));
        idle(() => {
            if (engine._qm_state(session) === State.Playing)
                preparedHint = said(engine._qm_hint(session));
        });
    }

    function lineEntered() {
        if (!waiting() || !message.hidden)
            return;
        placeCaret();
        if (inOutput())
            caretToEndNow();
        typeLineBreak();
        submit();
    }

    function answer(yes) {
        if (question.hidden)
            return;
        question.hidden = true;
        if (confirming) {
            const then = confirming;
            confirming = null;
            if (yes)
                then();
            else
                settle();
            return;
        }
        preparedHint = '';
        engine._qm_answer(session, yes ? 1 : 0);
        applyChanges();
        settle();
        keepProgress();
    }

    Text1.addEventListener('keydown', (event) => {
        placeCaret();
        // A character typed on the game's text goes to the end (AltGr holds
        // Control and Alt together).
        const character = [...event.key].length === 1 && (!event.ctrlKey || event.altKey) && !event.metaKey;
        if (character && Text1.isContentEditable && inOutput())
            caretToEndNow();
        if (event.key !== 'Enter' || event.isComposing)
            return;
        event.preventDefault();
        lineEntered();
    });
    Text1.addEventListener('compositionstart', () => {
        if (inOutput())
            caretToEndNow();
    });
    Text1.addEventListener('beforeinput', (event) => {
        placeCaret();
        // Keyboards on phones may send a line break without an Enter key.
        if (event.inputType === 'insertParagraph' || event.inputType === 'insertLineBreak') {
            event.preventDefault();
            lineEntered();
            return;
        }
        // Undo would bring back what the game cleared.
        if (event.inputType === 'historyUndo' || event.inputType === 'historyRedo') {
            event.preventDefault();
            return;
        }
        // Whatever else would change the game's text: a deletion takes the
        // typed part alone, an insertion goes to the end.
        const ranges = reachOf(event);
        if (!ranges.some((range) => inOutputAt(range.startContainer, range.startOffset)))
            return;
        if (event.inputType.startsWith('delete')) {
            event.preventDefault();
            removeTyped(ranges);
        } else if (event.inputType.startsWith('insert') && event.cancelable) {
            event.preventDefault();
            caretToEndNow();
            typeText(event.data ?? event.dataTransfer?.getData('text/plain'));
        }
    });
    // Where the player points, the caret goes.
    Text1.addEventListener('mousedown', () => {
        caretPending = false;
    });
    // A paste on the game's text goes to the end.
    Text1.addEventListener('paste', (event) => {
        placeCaret();
        if (Text1.contentEditable === 'false' || (editing === 'plaintext-only' && !inOutput()))
            return;
        event.preventDefault();
        if (inOutput())
            caretToEndNow();
        typeText(event.clipboardData.getData('text/plain'));
    });
    // The game's text is copied, never cut.
    Text1.addEventListener('cut', (event) => {
        if (!inOutput())
            return;
        event.preventDefault();
        event.clipboardData.setData('text/plain', window.getSelection().toString());
    });
    // Text dragged out of the console is copied, so that no drag takes the
    // game's text away; text dropped on it goes where it is dropped in the
    // typed line, else to the end.
    Text1.addEventListener('dragstart', (event) => {
        event.dataTransfer.effectAllowed = 'copy';
    });
    Text1.addEventListener('drop', (event) => {
        if (!Text1.isContentEditable)
            return;
        event.preventDefault();
        const point = document.caretPositionFromPoint?.(event.clientX, event.clientY);
        Text1.focus({preventScroll: true});
        if (point && Text1.contains(point.offsetNode) && !inOutputAt(point.offsetNode, point.offset)) {
            caretPending = false;
            window.getSelection().collapse(point.offsetNode, point.offset);
        } else {
            caretToEndNow();
        }
        typeText(event.dataTransfer.getData('text/plain'));
    });
    document.addEventListener('keydown', (event) => {
        if (question.hidden || event.ctrlKey || event.altKey || event.metaKey)
            return;
        if (event.key === 'y' || event.key === 'Y') {
            event.preventDefault();
            answer(true);
        } else if (event.key === 'n' || event.key === 'N') {
            event.preventDefault();
            answer(false);
        }
    });
    byId('Yes').addEventListener('click', () => answer(true));
    byId('No').addEventListener('click', () => answer(false));
    byId('OK').addEventListener('click', () => {
        message.hidden = true;
        settle();
    });
    again.addEventListener('click', () => {
        forgetProgress();
        window.location.reload();
    });

    // Saved games. The game is kept in the browser's storage after every
    // turn, as the saved game the player writes, under a name made of the
    // digests of the page's levels and language file: opening the page again
    // goes on with it, and a changed game starts afresh. Without storage
    // (private browsing, a full quota, a browser that refuses it for pages
    // opened from disk) the page plays as it did, keeping nothing.
    const SavedGameLimit = 16 << 20; // bytes; a saved game is a few thousand
    const savedGameFile = byId('SavedGameFile');
    let progressKey = '';
    let savedGameName = 'game.qwsave'; // what Save Game names its download
    let confirming = null; // what a Yes to the page's own question does
    let keptText = ''; // the progress last kept

    function storage() {
        try {
            return window.localStorage;
        } catch (refused) {
            return null;
        }
    }

    function keepProgress() {
        try {
            const store = storage();
            if (!store || !progressKey)
                return;
            // A game that has ended starts afresh.
            if (engine._qm_state(session) === State.Ended) {
                forgetProgress();
                return;
            }
            // A turn that changed nothing (a look, the inventory) writes nothing.
            const text = said(engine._qm_saved(session));
            if (text && text !== keptText)
                store.setItem(progressKey, text);
            keptText = text;
        } catch (full) {
            // The game goes on without it.
        }
    }

    function keptProgress() {
        try {
            return storage()?.getItem(progressKey) ?? null;
        } catch (refused) {
            return null;
        }
    }

    function forgetProgress() {
        keptText = '';
        try {
            storage()?.removeItem(progressKey);
        } catch (refused) {
            // Nothing was kept.
        }
    }

    // Goes on with a saved game's bytes; returns why it cannot (and then
    // the game played goes on), or '' when it does.
    function restoreBytes(bytes, name) {
        const data = engine._malloc(bytes.length + 1);
        if (!data)
            return `"${name}" is too large to be a Quillmoor saved game.`;
        engine.HEAPU8.set(bytes, data);
        try {
            return withTexts([name], (at, size) => said(engine._qm_restore(session, data, bytes.length, at, size)));
        } finally {
            engine._free(data);
        }
    }

    // A new game, restored or started over, replaces whatever was open. A
    // game started over is kept from its first turn, as when the page opens.
    function showNewGame() {
        // The hint was for the game replaced.
        hintLine.textContent = '';
        preparedHint = '';
        question.hidden = true;
        message.hidden = true;
        messages.length = 0;
        confirming = null;
        notice.textContent = '';
        end.classList.add('quiet');
        again.hidden = true;
        applyChanges();
        settle();
    }

    // Asks the page's own question; then on Yes.
    function confirm(text, then) {
        confirming = then;
        setEditable(false);
        byId('QuestionText').textContent = text;
        message.hidden = true;
        question.hidden = false;
        // A slip of the finger keeps the game: No has the focus.
        byId('No').focus();
    }

    function say(text) {
        messages.push(text);
        settle();
    }

    // Saving or opening a game answers the page's own question No.
    function dropQuestion() {
        if (!confirming)
            return;
        confirming = null;
        question.hidden = true;
        settle();
    }

    byId('Restart').addEventListener('click', () => {
        const restart = () => {
            forgetProgress();
            engine._qm_restart(session);
            showNewGame();
        };
        const state = engine._qm_state(session);
        if (state === State.Playing || state === State.Asking)
            confirm('Start the game again from the beginning? The game as it stands is lost unless you save it first.',
                    restart);
        else
            restart();
    });

    byId('SaveGame').addEventListener('click', () => {
        dropQuestion();
        const state = engine._qm_state(session);
        const text = state === State.Ended ? '' : said(engine._qm_saved(session));
        if (!text) {
            say(state === State.Ended ? 'There is no game to save: the game has ended.'
                : state === State.Stopped ? 'There is no game to save: the game has stopped.'
                    : 'There is no game to save yet: choose a language first.');
            return;
        }
        const link = document.createElement('a');
        link.href = URL.createObjectURL(new Blob([text], {type: 'application/octet-stream'}));
        link.download = savedGameName;
        document.body.append(link);
        link.click();
        link.remove();
        setTimeout(() => URL.revokeObjectURL(link.href), 60000);
        settle();
    });

    byId('RestoreGame').addEventListener('click', () => {
        dropQuestion();
        savedGameFile.click();
    });
    savedGameFile.addEventListener('change', async () => {
        const file = savedGameFile.files[0];
        savedGameFile.value = '';
        if (!file)
            return;
        if (file.size > SavedGameLimit) {
            say(`"${file.name}" is too large to be a Quillmoor saved game.`);
            return;
        }
        let bytes;
        try {
            bytes = new Uint8Array(await file.arrayBuffer());
        } catch (error) {
            say(`Cannot open the saved game "${file.name}": ${error.message}`);
            return;
        }
        const why = restoreBytes(bytes, file.name);
        if (why) {
            say(why);
            return;
        }
        showNewGame();
        keepProgress();
    });
    byId('Hint').addEventListener('click', hint);

    // For tests and measurements: what the page shows and waits for.
    window.quillmoorPage = {
        get firstPrompt() { return firstPrompt; },
        get state() { return session ? engine._qm_state(session) : State.Starting; },
        // Types a line at the end of the console and presses Enter.
        enter(line) {
            if (!waiting() || !message.hidden)
                return;
            Text1.append(line + '\n');
            submit();
        },
    };

    function begin(module) {
        engine = module;
        const game = JSON.parse(byId('QuillmoorGame').textContent);
        for (const folder of game.folders)
            withTexts([folder], (at, size) => engine._qm_enter_folder(at, size));
        for (const file of game.files) {
            const bytes = bytesOf(file.bytes);
            const data = engine._malloc(bytes.length + 1);
            engine.HEAPU8.set(bytes, data);
            const written = withTexts([file.path], (at, size) => engine._qm_put_file(at, size, data, bytes.length));
            engine._free(data);
            if (!written)
                throw new Error('the page cannot hold the file ' + file.path);
        }
        withTexts([game.folder], (at, size) => engine._qm_enter_folder(at, size));
        session = engine._qm_new_session();
        withTexts([game.level, game.language], (level, levelSize, language, languageSize) =>
            engine._qm_set_up(session, level, levelSize, language, languageSize));
        for (const file of game.files) {
            if (file.path !== game.language)
                withTexts([file.path], (at, size) => engine._qm_hold_level(session, at, size));
        }
        progressKey = 'quillmoor-progress-' + said(engine._qm_progress_key(session));
        savedGameName = (game.level.split('/').pop().replace(/\.[^.]*$/, '') || 'game') + '.qwsave';
        // Where the player stopped, else from the beginning.
        const kept = keptProgress();
        if (kept === null || restoreBytes(encoder.encode(kept), 'progress.qwsave')) {
            forgetProgress();
            engine._qm_restart(session);
        }
        applyChanges();
        settle();
    }

    function cannotStart(error) {
        showNotice('The game cannot start in this browser: ' + error.message, 'alert');
    }

    // The engine is compiled at once and is ready on return; a build that
    // compiles it in the background hands it over later.
    try {
        const made = QuillmoorEngine({wasmBinary: bytesOf(byId('QuillmoorEngineCode').textContent)});
        if (typeof made.then === 'function')
            made.then(begin).catch(cannotStart);
        else
            begin(made);
    } catch (error) {
        cannotStart(error);
    }
})();
