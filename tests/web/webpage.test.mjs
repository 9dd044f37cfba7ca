// SPDX-License-Identifier: MIT
// Published games played in a real browser: Debian's chromium, headless,
// driven by puppeteer-core. Every page is played with the same lines as the
// real player window (the windowconsole tool), and what the page shows each
// time it waits (its console Text1, its question, the end) must be what the
// window showed, character for character.
import assert from 'node:assert/strict';
import {execFileSync} from 'node:child_process';
import fs from 'node:fs';
import {createRequire} from 'node:module';
import os from 'node:os';
import path from 'node:path';
import {after, before, test} from 'node:test';
import {pathToFileURL} from 'node:url';

import puppeteer from 'puppeteer-core';

const bin = process.env.QUILLMOOR_BIN_DIR;
const source = process.env.QUILLMOOR_SOURCE_DIR;
const windowConsole = process.env.QUILLMOOR_WINDOWCONSOLE;
const chromium = process.env.QUILLMOOR_CHROMIUM || '/usr/bin/chromium';
const publisher = path.join(bin, 'quillmoorpublish');
const transcripts = path.join(source, 'tests', 'data');

let browser;
let work;

before(async () => {
    work = fs.mkdtempSync(path.join(os.tmpdir(), 'quillmoor-webpage-'));
    browser = await puppeteer.launch({
        executablePath: chromium,
        headless: true,
        args: ['--no-sandbox', '--disable-gpu', '--disable-background-networking', '--disable-component-update',
               '--disable-sync', '--no-first-run', `--user-data-dir=${path.join(work, 'profile')}`],
    });
});

after(async () => {
    await browser?.close();
    fs.rmSync(work, {recursive: true, force: true});
});

function crlf(lines) {
    return lines.map((line) => line + '\r\n').join('');
}

// Publishes from the folder cwd; returns the page's path.
function publish(cwd, level, language, name) {
    const page = path.join(work, name + '.html');
    execFileSync(publisher, ['--language', language, '-o', page, level], {cwd, stdio: 'pipe'});
    return page;
}

// What the player window showed each time it waited, played from cwd.
function windowWaits(cwd, level, language, lines) {
    const input = path.join(work, 'input.txt');
    fs.writeFileSync(input, lines.map((line) => line + '\n').join(''));
    const out = execFileSync(windowConsole, [level, language, input],
                             {cwd, env: {...process.env, QT_QPA_PLATFORM: 'offscreen'}, maxBuffer: 1 << 26});
    // A message box breaks its lines where the text has CR LF.
    return JSON.parse(out.toString('utf8')).map((wait) => wait.message === undefined ? wait
        : {...wait, message: wait.message.replaceAll('\r\n', '\n')});
}

// The page as a person sees it, read in the page once it has drawn what it
// has.
function look(page) {
    return page.evaluate(async () => {
        await new Promise((drawn) => window.requestAnimationFrame(() => drawn()));
        const console = document.getElementById('Text1');
        const shown = (id) => !document.getElementById(id).hidden;
        const notice = document.getElementById('Notice').textContent;
        const selection = window.getSelection();
        const range = selection.rangeCount ? selection.getRangeAt(0) : null;
        let caretAtEnd = false;
        if (range && range.collapsed) {
            const end = document.createRange();
            end.selectNodeContents(console);
            end.collapse(false);
            caretAtEnd = range.compareBoundaryPoints(Range.START_TO_START, end) === 0
                || (range.startContainer.nodeType === Node.TEXT_NODE && range.startContainer === console.lastChild
                    && range.startOffset === range.startContainer.length);
        }
        const seen = {console: console.textContent, focus: document.activeElement?.id ?? '', caretAtEnd,
                      editable: console.isContentEditable};
        if (shown('Message'))
            return {...seen, state: 'informing', message: document.getElementById('MessageText').textContent};
        if (shown('Question'))
            return {...seen, state: 'asking', question: document.getElementById('QuestionText').textContent};
        if (notice.startsWith('The game has ended.'))
            return {...seen, state: 'ended', notice};
        if (notice.startsWith('The game has stopped:\n'))
            return {...seen, state: 'stopped', message: notice.slice('The game has stopped:\n'.length), notice};
        return {...seen, state: window.quillmoorPage?.state === 1 || window.quillmoorPage?.state === 2
            ? 'waiting' : 'starting'};
    });
}

function started(page) {
    return page.waitForFunction(() => document.getElementById('Notice').textContent !== ''
        || !document.getElementById('Question').hidden || !document.getElementById('Message').hidden
        || window.quillmoorPage?.firstPrompt !== undefined);
}

// Opens the page as it was never played in this browser; keep: with the
// progress the browser keeps from before.
async function open(file, viewport, keep = false) {
    const page = await browser.newPage();
    if (viewport)
        await page.setViewport(viewport);
    const clear = keep ? null : await page.evaluateOnNewDocument(() => localStorage.clear());
    const errors = [];
    const requests = [];
    page.on('pageerror', (error) => errors.push(error.message));
    page.on('request', (request) => requests.push(request.url()));
    await page.goto(pathToFileURL(file).href);
    await started(page);
    if (clear)
        await page.removeScriptToEvaluateOnNewDocument(clear.identifier);
    page.errors = errors;
    page.requests = requests;
    return page;
}

// Plays the lines in the page as the window tool plays them: each line typed
// at the console's end and Enter pressed, or, while a question is open, its
// answer (Y or N pressed, or with answerBy 'buttons' the button clicked).
// Returns the waits in the window tool's form and the looks at each wait;
// atEachWait, if given, looks further at each.
async function play(page, lines, answerBy = 'keys', atEachWait) {
    const waits = [];
    const looks = [];
    const queue = [...lines];
    for (;;) {
        const seen = await look(page);
        looks.push(seen);
        await atEachWait?.();
        const wait = {state: seen.state, console: seen.console};
        if (seen.question !== undefined)
            wait.question = seen.question;
        if (seen.message !== undefined)
            wait.message = seen.message;
        waits.push(wait);
        if (seen.state === 'informing') {
            await page.click('#OK');
        } else if (seen.state === 'asking') {
            const yes = /^[yY]/.test(queue.shift() ?? '');
            if (answerBy === 'buttons')
                await page.click(yes ? '#Yes' : '#No');
            else
                await page.keyboard.press(yes ? 'KeyY' : 'KeyN');
        } else if (seen.state === 'waiting' && queue.length > 0) {
            await page.keyboard.type(queue.shift());
            await page.keyboard.press('Enter');
        } else {
            break;
        }
    }
    return {waits, looks};
}

// Names the first wait where page and window part, and the first line there.
function assertSameWaits(pageWaits, windowWaits) {
    const canon = (wait) => wait && {state: wait.state, console: wait.console, question: wait.question,
                                     message: wait.message};
    const page = pageWaits.map(canon);
    const window = windowWaits.map(canon);
    for (let i = 0; i < Math.max(page.length, window.length); i++) {
        const a = page[i];
        const b = window[i];
        if (JSON.stringify(a) === JSON.stringify(b))
            continue;
        let where = '';
        if (a && b && a.console !== b.console) {
            const x = a.console.split('\n');
            const y = b.console.split('\n');
            const line = x.findIndex((text, n) => text !== y[n]);
            const at = line < 0 ? x.length : line;
            where = `, console line ${at + 1}:\n  page:   ${JSON.stringify(x[at])}\n  window: ${JSON.stringify(y[at])}`;
        }
        assert.fail(`wait ${i + 1} differs${where}\n  page:   ${JSON.stringify(a)}\n  window: ${JSON.stringify(b)}`);
    }
}

function linesOf(file) {
    return fs.readFileSync(file, 'utf8').split('\n').map((line) => line.replace(/\r$/, '')).filter(
        (line, i, all) => i < all.length - 1 || line !== '');
}

// The bundled adventure, published and played from a folder of its own, so
// that its second level is found beside the first, through "..".
function adventure(language, name) {
    const from = fs.mkdtempSync(path.join(work, 'from-'));
    const level = path.relative(from, path.join(bin, 'QUILLMOOR.qw'));
    return {from, level, language, page: publish(from, level, language, name)};
}

const English = () => path.join(bin, 'Language.txt');
const Menu = () => path.join(bin, 'languages', 'all.txt');

test('the bundled adventure plays to its end as in the window', async () => {
    const game = adventure(English(), 'walkthrough');
    const lines = linesOf(path.join(transcripts, 'walkthrough.in'));
    const page = await open(game.page);
    const {waits, looks} = await play(page, lines);
    assertSameWaits(waits, windowWaits(game.from, game.level, game.language, lines));
    assert.equal(waits.length, lines.length + 1, 'every line was typed or answered');
    assert.equal(waits.at(-1).state, 'ended');
    // The page waited for lines with the focus in the console and the caret
    // at its end, and asked its questions with the focus on Yes.
    for (const seen of looks.filter((seen) => seen.state === 'waiting')) {
        assert.equal(seen.focus, 'Text1');
        assert.ok(seen.caretAtEnd, 'the caret is at the end of the console');
        assert.ok(seen.editable);
    }
    for (const seen of looks.filter((seen) => seen.state === 'asking')) {
        assert.equal(seen.focus, 'Yes');
        assert.ok(!seen.editable);
    }
    assert.deepEqual(page.errors, []);
    await page.close();
});

for (const menu of ['menu-english', 'menu-deutsch', 'menu-francais', 'menu-espanol']) {
    test(`the language menu, ${menu.slice(5)}, as in the window`, async () => {
        const game = adventure(Menu(), menu);
        const lines = linesOf(path.join(transcripts, menu + '.in'));
        const page = await open(game.page);
        const {waits} = await play(page, lines);
        assertSameWaits(waits, windowWaits(game.from, game.level, game.language, lines));
        assert.deepEqual(page.errors, []);
        await page.close();
    });
}

test('both questions answered with the buttons, No and then Yes', async () => {
    const game = adventure(English(), 'buttons');
    const lines = ['quit', 'n', 'e', 'quit', 'y'];
    const page = await open(game.page);
    const {waits, looks} = await play(page, lines, 'buttons');
    assertSameWaits(waits, windowWaits(game.from, game.level, game.language, lines));
    assert.deepEqual(waits.map((wait) => wait.state), ['waiting', 'asking', 'waiting', 'waiting', 'asking', 'ended']);
    assert.equal(looks[2].focus, 'Text1', 'after No the focus is back in the console');
    assert.ok(looks[2].caretAtEnd);
    // The end is shown: the last text stays (quitting cleared it, as in the
    // window), the console takes no more typing, and the focus is back in it.
    const end = looks.at(-1);
    assert.equal(end.notice, 'The game has ended.');
    assert.equal(end.focus, 'Text1');
    assert.ok(!end.editable);
    assert.equal(end.console, looks.at(-2).console);
    assert.ok(await page.$eval('#Again', (button) => !button.hidden));
    await page.keyboard.type('e');
    await page.keyboard.press('Enter');
    assert.equal((await look(page)).console, end.console);
    await page.close();
});

test('the end-of-game question: No stays, Yes ends', async () => {
    // Two locations: the second is the end of the game.
    const folder = fs.mkdtempSync(path.join(work, 'end-'));
    fs.writeFileSync(path.join(folder, 'end.qw'), crlf([
        '[LOCATION 1A]', 'Start.', 'PATH E', 'START', '',
        '[LOCATION 1B]', 'The end.', 'PATH W', 'ENDGAME', '',
    ]));
    const page = await open(publish(folder, 'end.qw', English(), 'end'));
    const lines = ['e', 'n', 'w', 'e', 'Y'];
    const {waits, looks} = await play(page, lines);
    assertSameWaits(waits, windowWaits(folder, 'end.qw', English(), lines));
    assert.deepEqual(waits.map((wait) => wait.state), ['waiting', 'asking', 'waiting', 'waiting', 'asking', 'ended']);
    // The winning text stays on the page under the notice of the end.
    assert.match(looks.at(-1).console, /The end\.\n/);
    assert.equal(looks.at(-1).notice, 'The game has ended.');
    await page.close();
});

// A fault stops the game in a turn, or after an answer. (A game the player
// would stop as it starts is not published: tst_publish.)
const stops = [
    ['in a turn', ['[LOCATION 1A]', 'Start.', 'PATH E', 'START', '', '[LOCATION 1B]', 'A gate.',
                   'LOADLEVEL nowhere.qw', ''], ['e']],
    ['after an answer', ['[LOCATION 1A]', 'Start.', 'PATH E', 'START', '', '[LOCATION 1B]', 'The end.',
                         'ENDGAME', 'LOADLEVEL nowhere.qw', ''], ['e', 'n']],
];
for (const [when, level, lines] of stops) {
    test(`a game that stops ${when} shows why, as the window does`, async () => {
        const folder = fs.mkdtempSync(path.join(work, 'stop-'));
        fs.writeFileSync(path.join(folder, 'stop.qw'), crlf(level));
        const page = await open(publish(folder, 'stop.qw', English(), 'stop'));
        const {waits, looks} = await play(page, lines);
        assertSameWaits(waits, windowWaits(folder, 'stop.qw', English(), lines));
        assert.equal(waits.at(-1).state, 'stopped');
        assert.equal(looks.at(-1).focus, 'Text1');
        assert.ok(!looks.at(-1).editable);
        assert.equal(await page.$eval('#Notice', (notice) => notice.getAttribute('role')), 'alert');
        assert.deepEqual(page.errors, []);
        await page.close();
    });
}

test('a chain published by its absolute path plays as in the window, and names no folder of the author', async () => {
    // Into a folder, then beside the level naming it.
    const folder = fs.mkdtempSync(path.join(work, 'qm-Zebra-'));
    const gate = (named) => crlf(['[LOCATION 1A]', 'Here.', 'PATH E', 'START', '', '[LOCATION 1B]', 'Gate.',
                                  `LOADLEVEL ${named} COMMENT=Onwards.`, '']);
    fs.mkdirSync(path.join(folder, 'game', 'sub'), {recursive: true});
    fs.writeFileSync(path.join(folder, 'game', 'one.qw'), gate('sub/two.qw'));
    fs.writeFileSync(path.join(folder, 'game', 'sub', 'two.qw'), gate('three.qw'));
    fs.writeFileSync(path.join(folder, 'game', 'sub', 'three.qw'), crlf([
        '[LOCATION 1A]', 'Three.', 'PATH E', 'START', '', '[LOCATION 1B]', 'The end.', 'PATH W', 'ENDGAME', '',
    ]));
    const level = path.join(folder, 'game', 'one.qw');
    const file = publish(folder, level, English(), 'private');
    const bytes = fs.readFileSync(file, 'latin1');
    assert.ok(!bytes.includes(folder) && !bytes.includes('Zebra'), 'the page names the author\'s folder');
    const page = await open(file);
    const lines = ['e', 'e', 'e', 'y'];
    const {waits} = await play(page, lines);
    assertSameWaits(waits, windowWaits(folder, level, English(), lines));
    assert.equal(waits.at(-1).state, 'ended');
    assert.deepEqual(page.errors, []);
    await page.close();
});

test('the page opens with the focus in the console, and reads as the window looks', async () => {
    const game = adventure(English(), 'look');
    const page = await open(game.page);
    // It needs nothing but itself: no server, no network.
    assert.deepEqual(page.requests, [pathToFileURL(game.page).href]);
    const seen = await look(page);
    assert.equal(seen.focus, 'Text1');
    assert.ok(seen.caretAtEnd);
    assert.ok(seen.console.endsWith('\n>'));
    const style = await page.$eval('#Text1', (console) => {
        const computed = getComputedStyle(console);
        return {color: computed.color, background: computed.backgroundColor, font: computed.fontFamily,
                size: computed.fontSize, wrap: computed.whiteSpace, overflow: computed.overflowY,
                live: console.getAttribute('aria-live'), label: console.getAttribute('aria-label')};
    });
    assert.deepEqual(style, {color: 'rgb(0, 255, 0)', background: 'rgb(0, 0, 0)',
                             font: '"Courier New", Courier, "Liberation Mono", "Nimbus Mono PS", "DejaVu Sans Mono", monospace',
                             size: '16px', wrap: 'pre-wrap', overflow: 'scroll', live: 'polite', label: 'Game console'});
    assert.deepEqual(await page.$$eval('button', (buttons) => buttons.map((button) => button.textContent)),
                     ['Yes', 'No', 'OK', 'Play again', 'Restart', 'Save Game', 'Open Saved Game', 'Hint']);
    assert.equal(await page.title(), 'QUILLMOOR – TEXT PUZZLE QUILLMOOR');
    assert.match(await page.$eval('meta[name=viewport]', (meta) => meta.content), /width=device-width/);
    // On a phone's width the console wraps its lines instead of scrolling sideways.
    await page.setViewport({width: 360, height: 640});
    assert.ok(await page.$eval('#Text1', (console) => console.scrollWidth <= console.clientWidth));
    await page.close();
});

test('a line typed with ">" in it gives the game only the text after the last ">"', async () => {
    const game = adventure(English(), 'prompt');
    const page = await open(game.page);
    const lines = ['look >e', 'x > w >  n'];
    const {waits} = await play(page, lines);
    assertSameWaits(waits, windowWaits(game.from, game.level, game.language, lines));
    await page.close();
});

// Each step: a key or keys held together ("Control+Home"); 'text typed;
// "click" above the prompt; "drop" of the text e above the prompt.
const typing = [
    ['Ctrl+Home, then a key', ['Control+Home', "'e"]],
    ['a click above the prompt, then a key', ['click', "'e"]],
    ['everything selected, then a key', ['Control+KeyA', "'e"]],
    ['a line up, then a key', ['ArrowUp', "'e"]],
    ['a paste above the prompt', ["'e", 'Shift+ArrowLeft', 'Control+KeyX', 'Control+Home', 'Control+KeyV']],
    ['a drop above the prompt', ['drop']],
    ['keys that delete, above the prompt', ['Control+Home', 'Backspace', 'Delete', 'Control+Backspace',
                                           'Control+Delete', "'e"]],
    ['keys that delete, at the prompt', ['Backspace', 'Control+Backspace', "'e"]],
    ['a word deleted back past the prompt', ["' ", 'Control+Backspace', "'e"]],
    ['cut and delete, everything selected', ['Control+KeyA', 'Control+KeyX', 'Backspace', 'Delete', "'e"]],
    ['editing the typed line', ["'x", 'ArrowLeft', "'e", 'Delete']],
];
test('whatever the caret was on, what is typed or pasted ends the console, and the game reads it', async (t) => {
    const game = adventure(English(), 'typing');
    const [, answer] = windowWaits(game.from, game.level, game.language, ['e']);
    for (const [name, steps] of typing) {
        await t.test(name, async () => {
            const page = await open(game.page);
            const shown = (await look(page)).console;
            for (const step of steps) {
                if (step.startsWith("'")) {
                    await page.keyboard.type(step.slice(1));
                } else if (step === 'click') {
                    const box = await page.$eval('#Text1', (console) => console.getBoundingClientRect().toJSON());
                    await page.mouse.click(box.x + 8, box.y + 8);
                } else if (step === 'drop') {
                    await page.$eval('#Text1', (console) => {
                        const data = new DataTransfer();
                        data.setData('text/plain', 'e');
                        const box = console.getBoundingClientRect();
                        console.dispatchEvent(new DragEvent('drop', {dataTransfer: data, clientX: box.x + 8,
                                                                     clientY: box.y + 8, bubbles: true, cancelable: true}));
                    });
                } else {
                    const keys = step.split('+');
                    for (const key of keys.slice(0, -1))
                        await page.keyboard.down(key);
                    await page.keyboard.press(keys.at(-1));
                    for (const key of keys.slice(0, -1).reverse())
                        await page.keyboard.up(key);
                }
            }
            assert.equal((await look(page)).console, shown + 'e');
            await page.keyboard.press('Enter');
            assert.equal((await look(page)).console, answer.console);
            assert.deepEqual(page.errors, []);
            await page.close();
        });
    }
});

const axe = createRequire(import.meta.url).resolve('axe-core/axe.min.js');
async function violations(page) {
    if (!await page.evaluate(() => typeof window.axe === 'object'))
        await page.addScriptTag({path: axe});
    const {violations} = await page.evaluate(() => window.axe.run(document));
    return violations.map((violation) => `${violation.id}: ${violation.help} (${
        violation.nodes.map((node) => node.target.join(' ')).join(', ')})`);
}

test('axe finds nothing to mend at the first prompt, at a question and at the end', async () => {
    const game = adventure(English(), 'axe');
    const page = await open(game.page);
    const stages = [];
    stages.push(['the first prompt', (await look(page)).state, await violations(page)]);
    await page.keyboard.type('quit');
    await page.keyboard.press('Enter');
    stages.push(['a question', (await look(page)).state, await violations(page)]);
    await page.keyboard.press('KeyY');
    stages.push(['the end', (await look(page)).state, await violations(page)]);
    assert.deepEqual(stages, [['the first prompt', 'waiting', []], ['a question', 'asking', []], ['the end', 'ended', []]]);
    await page.close();
});

test('the Hint button, reached by Tab, shows the next command under the console and leaves the console as it is', async () => {
    const page = await open(publish(path.join(source, 'data', 'stuck'), 'CELLAR.qw', English(), 'hint'));
    const shown = () => page.evaluate(() => ({
        hint: document.getElementById('HintLine').textContent,
        console: document.getElementById('Text1').textContent,
        focus: document.activeElement.id,
    }));
    const before = await shown();
    // After the page's own commands.
    for (const next of ['Restart', 'SaveGame', 'RestoreGame', 'Hint']) {
        await page.keyboard.press('Tab');
        assert.equal((await shown()).focus, next);
    }
    await page.keyboard.press('Enter');
    // The focus goes back to the console, to type the hint.
    assert.deepEqual(await shown(), {hint: 'Hint: E', console: before.console, focus: 'Text1'});
    assert.equal(await page.$eval('#HintLine', (line) => line.getAttribute('aria-live')), 'polite');
    assert.deepEqual(await violations(page), []);
    for (const line of ['E', 'TAKE flint', 'TAKE oil', 'COMBINE flint WITH oil']) {
        await page.keyboard.type(line);
        await page.keyboard.press('Enter');
        assert.equal((await shown()).hint, '', 'the next line takes the hint away');
    }
    await page.click('#Hint');
    assert.equal((await shown()).hint, 'You can no longer win from here.');
    assert.deepEqual(page.errors, []);
    await page.close();
});

// The name of the level file, shown as it is whatever it holds (but double
// quotes, which the player drops from the names of levels).
const titles = [
    ['end.qw', 'end'],
    ['Fen & Mire.qw', 'Fen & Mire'],
    [`<b>It's <\\title>.qw`, `<b>It's <\\title>`],
];
test('the page is titled and headed with the game it plays', async () => {
    const folder = fs.mkdtempSync(path.join(work, 'titles-'));
    const seen = [];
    for (const [file, name] of titles) {
        fs.writeFileSync(path.join(folder, file), crlf(['[LOCATION 1A]', 'Start.', 'START', '']));
        const page = await open(publish(folder, file, English(), `title-${seen.length}`));
        seen.push([await page.title(), await page.$eval('h1', (heading) => heading.textContent),
                   await page.$$eval('main b, main title', (elements) => elements.length)]);
        await page.close();
    }
    assert.deepEqual(seen, titles.map(([, name]) => [`${name} – TEXT PUZZLE QUILLMOOR`, name, 0]));
});

// The lines of the console that lie on more than one line of the screen.
function wrappedLines(page) {
    return page.evaluate(() => {
        const console = document.getElementById('Text1');
        const nodes = [];
        let length = 0;
        const walker = document.createTreeWalker(console, NodeFilter.SHOW_TEXT);
        for (let node = walker.nextNode(); node; node = walker.nextNode()) {
            nodes.push([node, length]);
            length += node.length;
        }
        const point = (at) => {
            const [node, start] = nodes.findLast(([, start]) => start <= at);
            return [node, at - start];
        };
        const wrapped = [];
        let start = 0;
        for (const line of console.textContent.split('\n')) {
            if (line.length > 0) {
                const range = document.createRange();
                range.setStart(...point(start));
                range.setEnd(...point(start + line.length));
                const tops = new Set([...range.getClientRects()].map((box) => Math.round(box.top)));
                if (tops.size > 1)
                    wrapped.push(line);
            }
            start += line.length + 1;
        }
        return wrapped;
    });
}

test('on a phone the lines the window shows whole stay whole, as the window shows them', async () => {
    const game = adventure(English(), 'phone');
    const lines = linesOf(path.join(transcripts, 'walkthrough.in'));
    const window = windowWaits(game.from, game.level, game.language, lines);
    const page = await open(game.page, {width: 390, height: 844, isMobile: true, hasTouch: true, deviceScaleFactor: 3});
    // Each line up to the window's 80 columns stays on one line of the screen.
    const wrapped = new Set();
    const {waits} = await play(page, lines, 'keys', async () => {
        for (const line of await wrappedLines(page))
            if (line.length <= 80)
                wrapped.add(line);
    });
    assertSameWaits(waits, window);
    assert.deepEqual([...wrapped], []);
    assert.deepEqual(page.errors, []);
    await page.close();
});

// The player in the terminal, from cwd; returns what it wrote.
function terminal(cwd, args, input = '') {
    return execFileSync(path.join(bin, 'quillmoorplayer'), ['--tty', ...args], {cwd, input}).toString('utf8');
}

// Opens a saved game with Open Saved Game.
async function openSavedGame(page, file) {
    const before = (await look(page)).console;
    const [chooser] = await Promise.all([page.waitForFileChooser(), page.click('#RestoreGame')]);
    await chooser.accept([file]);
    await page.waitForFunction((before) => document.getElementById('Text1').textContent !== before
        || !document.getElementById('Message').hidden, {}, before);
}

test('the page goes on after a reload, where a restore shows the player; Restart starts over', async () => {
    const game = adventure(English(), 'progress');
    const page = await open(game.page);
    const first = await look(page);
    await play(page, ['e', 'take lamp']);
    // As the terminal goes on with the progress the page keeps.
    const kept = path.join(game.from, 'kept.qwsave');
    fs.writeFileSync(kept, await page.evaluate(() => Object.entries(localStorage).find(
        ([key]) => key.startsWith('quillmoor-progress-'))[1]));
    await page.reload();
    await started(page);
    const reloaded = await look(page);
    assert.equal(reloaded.console, terminal(game.from, ['--language', English(), '--restore', kept]));
    assert.equal(reloaded.focus, 'Text1');
    // Restart, the console's next stop for the keyboard, asks first, with
    // the focus on No, and No keeps the game.
    await page.keyboard.press('Tab');
    assert.equal((await look(page)).focus, 'Restart');
    await page.keyboard.press('Enter');
    const asked = await look(page);
    assert.equal(asked.question, 'Start the game again from the beginning? The game as it stands is lost unless you '
                 + 'save it first.');
    assert.equal(asked.focus, 'No');
    await page.keyboard.press('Enter');
    assert.equal((await look(page)).console, reloaded.console);
    await page.click('#Restart');
    await page.click('#Yes');
    assert.equal((await look(page)).console, first.console);
    await page.reload();
    await started(page);
    assert.equal((await look(page)).console, first.console);
    assert.deepEqual(page.errors, []);
    await page.close();
});

test('a game saved in the terminal goes on in the page, and the page\'s download in the terminal', async () => {
    const game = adventure(English(), 'saves');
    const saved = path.join(game.from, 'terminal.qwsave');
    terminal(game.from, ['--language', English(), '--save', saved, game.level], 'e\ntake lamp\n');
    const page = await open(game.page);
    await openSavedGame(page, saved);
    assert.equal((await look(page)).console, terminal(game.from, ['--language', English(), '--restore', saved]));
    await play(page, ['w']);
    const client = await page.createCDPSession();
    const downloads = fs.mkdtempSync(path.join(work, 'downloads-'));
    await client.send('Browser.setDownloadBehavior', {behavior: 'allow', downloadPath: downloads});
    await page.click('#SaveGame');
    const download = path.join(downloads, 'QUILLMOOR.qwsave');
    for (let i = 0; i < 100 && !fs.existsSync(download); i++)
        await new Promise((wait) => setTimeout(wait, 50));
    assert.equal(terminal(game.from, ['--language', English(), '--restore', download], 'i\n'),
                 terminal(game.from, ['--language', English(), game.level], 'e\ntake lamp\nw\ni\n')
                     .split('\n>w\n').at(-1));
    assert.deepEqual(page.errors, []);
    await page.close();
});

test('a saved game of another game, or damaged, is refused in the page, and the game goes on', async () => {
    const game = adventure(English(), 'refused');
    const saved = path.join(game.from, 'good.qwsave');
    terminal(game.from, ['--language', English(), '--save', saved, game.level], 'e\n');
    const damaged = path.join(game.from, 'damaged.qwsave');
    fs.writeFileSync(damaged, fs.readFileSync(saved, 'utf8').replace('location ', 'location 1'));
    const other = path.join(game.from, 'other.qwsave');
    fs.writeFileSync(path.join(game.from, 'other.qw'), crlf(['[LOCATION 1A]', 'Elsewhere.', 'START', '']));
    terminal(game.from, ['--language', English(), '--save', other, 'other.qw']);
    const page = await open(game.page);
    const before = await look(page);
    const refusals = [];
    for (const file of [damaged, other]) {
        await openSavedGame(page, file);
        refusals.push((await look(page)).message);
        await page.click('#OK');
    }
    assert.match(refusals[0], /^The saved game "damaged.qwsave" is damaged: /);
    assert.equal(refusals[1], 'Cannot open the level file "other.qw" that the game saved in "other.qwsave" plays: '
                 + 'No such file or directory.');
    const after = await look(page);
    assert.equal(after.console, before.console);
    assert.equal(after.focus, 'Text1');
    assert.deepEqual(page.errors, []);
    await page.close();
});

test('a browser that keeps nothing for the page still plays it', async () => {
    const game = adventure(English(), 'nostorage');
    const page = await browser.newPage();
    await page.evaluateOnNewDocument(() => Object.defineProperty(window, 'localStorage', {
        get() { throw new DOMException('The page may not keep anything.', 'SecurityError'); }}));
    const errors = [];
    page.on('pageerror', (error) => errors.push(error.message));
    await page.goto(pathToFileURL(game.page).href);
    await started(page);
    const {waits} = await play(page, ['e', 'w']);
    assert.deepEqual(waits.map((wait) => wait.state), ['waiting', 'waiting', 'waiting']);
    assert.deepEqual(errors, []);
    await page.close();
});
