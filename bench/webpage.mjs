// SPDX-License-Identifier: MIT
// Figures of the published bundled adventure, medians of several runs:
//   1. the size of the page;
//   2. the time from opening the page in headless chromium to the first
//      prompt (the page's own clock, which starts as the page is opened),
//      beside the time an empty page takes to run its one script, which is
//      what the browser alone costs on this machine at this moment;
//   3. the time of one turn in the page: a line typed at the end of the
//      console and Enter pressed, the engine's answer written into the
//      console and the game kept in the browser, over 2,000 turns after 1,000 that let the browser compile
//      the engine fully; and the time the browser then takes to lay the
//      console out, once per drawn frame;
//   4. the time of a hint (the Hint button pressed, the engine's search and
//      its line shown) from each state the bundled walkthrough waits in: the
//      median state's and the slowest state's.
// Usage: node bench/webpage.mjs BUILD_BIN_DIR [RUNS]
import {execFileSync} from 'node:child_process';
import fs from 'node:fs';
import {createRequire} from 'node:module';
import os from 'node:os';
import path from 'node:path';
import {pathToFileURL} from 'node:url';

// puppeteer-core lies with the web page's tests, which pin it.
const require = createRequire(new URL('../tests/web/package.json', import.meta.url));
const puppeteer = require('puppeteer-core');

const bin = process.argv[2] && path.resolve(process.argv[2]);
const runs = Number(process.argv[3] ?? 7);
if (!bin) {
    console.error('usage: node bench/webpage.mjs BUILD_BIN_DIR [RUNS]');
    process.exit(2);
}
const median = (values) => {
    const sorted = [...values].sort((a, b) => a - b);
    const middle = sorted.length >> 1;
    return sorted.length % 2 ? sorted[middle] : (sorted[middle - 1] + sorted[middle]) / 2;
};

const work = fs.mkdtempSync(path.join(os.tmpdir(), 'quillmoor-webbench-'));
process.on('exit', () => fs.rmSync(work, {recursive: true, force: true}));
const page = path.join(work, 'QUILLMOOR.html');
execFileSync(path.join(bin, 'quillmoorpublish'), ['-o', page, 'QUILLMOOR.qw'], {cwd: bin, stdio: 'inherit'});
const size = fs.statSync(page).size;
const empty = path.join(work, 'empty.html');
fs.writeFileSync(empty, '<!DOCTYPE html><title>-</title><script>window.quillmoorPage = {firstPrompt: performance.now()};'
                 + '</script>');

const browser = await puppeteer.launch({
    executablePath: process.env.QUILLMOOR_CHROMIUM || '/usr/bin/chromium',
    headless: true,
    args: ['--no-sandbox', '--disable-gpu', '--disable-background-networking', '--disable-component-update',
           '--disable-sync', '--no-first-run', `--user-data-dir=${path.join(work, 'profile')}`],
});
try {
    const firstPrompts = [];
    const emptyPages = [];
    const afterReading = [];
    const turns = [];
    const layouts = [];
    const commands = ['e', 'w', 'i', 'help', 'look around', 'take feather', 'drop key', 'e', 'w'];
    const count = 2000;
    const walkthrough = fs.readFileSync(new URL('../tests/data/walkthrough.in', import.meta.url), 'utf8')
        .split('\n').map((line) => line.replace(/\r$/, '')).filter((line) => line !== '');
    const hints = [];
    const slowestHints = [];
    for (let run = 0; run < runs; run++) {
        const bare = await browser.createBrowserContext();
        const bareTab = await bare.newPage();
        await bareTab.goto(pathToFileURL(empty).href);
        emptyPages.push(await bareTab.evaluate(() => window.quillmoorPage.firstPrompt));
        await bare.close();

        // A context of its own each time, so nothing compiled before is reused.
        const context = await browser.createBrowserContext();
        const tab = await context.newPage();
        await tab.goto(pathToFileURL(page).href);
        await tab.waitForFunction(() => window.quillmoorPage?.firstPrompt !== undefined);
        const [prompt, read] = await tab.evaluate(() => [window.quillmoorPage.firstPrompt,
                                                         performance.getEntriesByType('navigation')[0].responseEnd]);
        firstPrompts.push(prompt);
        afterReading.push(prompt - read);
        turns.push(await tab.evaluate((commands, count) => {
            for (let i = 0; i < count / 2; i++)
                window.quillmoorPage.enter(commands[i % commands.length]);
            const start = performance.now();
            for (let i = 0; i < count; i++)
                window.quillmoorPage.enter(commands[i % commands.length]);
            return (performance.now() - start) * 1000 / count;
        }, commands, count));
        layouts.push(await tab.evaluate((commands, count) => {
            const console = document.getElementById('Text1');
            let spent = 0;
            for (let i = 0; i < count; i++) {
                window.quillmoorPage.enter(commands[i % commands.length]);
                const start = performance.now();
                void console.scrollHeight;
                spent += performance.now() - start;
            }
            return spent * 1000 / count;
        }, commands, count / 4));
        await context.close();

        const hintContext = await browser.createBrowserContext();
        const hintTab = await hintContext.newPage();
        await hintTab.goto(pathToFileURL(page).href);
        await hintTab.waitForFunction(() => window.quillmoorPage?.firstPrompt !== undefined);
        // As a player reads the first screen: the page readies its hints
        // while it is idle.
        await hintTab.evaluate(() => new Promise((idle) => window.requestIdleCallback(() => idle())));
        const times = await hintTab.evaluate((lines) => {
            const spent = [];
            const button = document.getElementById('Hint');
            for (const line of lines) {
                // As the engine's benchmark plays it: a question is answered No.
                if (window.quillmoorPage.state === 3)
                    document.getElementById('No').click();
                if (window.quillmoorPage.state === 2) {
                    const start = performance.now();
                    button.click();
                    spent.push(performance.now() - start);
                }
                window.quillmoorPage.enter(line);
            }
            return spent;
        }, walkthrough);
        hints.push(...times);
        slowestHints.push(Math.max(...times));
        await hintContext.close();
    }
    console.log(`Published QUILLMOOR.qw with SCRIPTORIUM.qw and Language.txt: ${(size / 1024).toFixed(1)} KB`);
    console.log(`Opening the page to the first prompt: median ${median(firstPrompts).toFixed(1)} ms over ${runs} runs `
                + `(from the page read in: ${median(afterReading).toFixed(1)} ms; an empty page's script runs after `
                + `${median(emptyPages).toFixed(1)} ms)`);
    console.log(`One turn in the page (${count} typed lines): median ${median(turns).toFixed(1)} us over ${runs} runs`);
    console.log(`Laying the console out after a turn: median ${median(layouts).toFixed(1)} us over ${runs} runs`);
    console.log(`A hint in the page, from the ${hints.length / runs} states the bundled walkthrough waits in: `
                + `median ${median(hints).toFixed(1)} ms, the slowest ${median(slowestHints).toFixed(1)} ms `
                + `(median of ${runs} runs)`);
} finally {
    await browser.close();
}
