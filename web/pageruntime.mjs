// SPDX-License-Identifier: MIT
// Puts the style, the engine and the page's script into the page template,
// leaving the one marker where quillmoorpublish puts the game, and those
// where it puts the game's title. The engine's
// WebAssembly goes in as base64 in an element of its own, which the page
// decodes at once; inside the script it would cost the browser a parse of
// its whole text first.
//   node pageruntime.mjs TEMPLATE STYLE SCRIPT ENGINE_JS ENGINE_WASM VERSION OUTPUT
import fs from 'node:fs';

const [template, style, script, engine, wasm, version, output] = process.argv.slice(2);
if (!output) {
    console.error('usage: node pageruntime.mjs TEMPLATE STYLE SCRIPT ENGINE_JS ENGINE_WASM VERSION OUTPUT');
    process.exit(2);
}
const read = (file) => fs.readFileSync(file, 'utf8');
const pieces = {
    '@QUILLMOOR_VERSION@': version,
    '@PAGE_CSS@': read(style),
    '@ENGINE_WASM@': fs.readFileSync(wasm).toString('base64'),
    '@ENGINE_JS@': read(engine),
    '@PAGE_JS@': read(script),
};
// Inside a script element these would end it or change how it is read.
for (const [file, text] of [[script, pieces['@PAGE_JS@']], [engine, pieces['@ENGINE_JS@']]]) {
    for (const unsafe of ['</script', '<!--']) {
        if (text.toLowerCase().includes(unsafe)) {
            console.error(`${file} holds "${unsafe}", which cannot go inside a script element`);
            process.exit(1);
        }
    }
}
// One pass, so that no piece is searched for the markers of the others.
const page = read(template).replace(/@(QUILLMOOR_VERSION|PAGE_CSS|ENGINE_WASM|ENGINE_JS|PAGE_JS)@/g,
                                    (marker) => pieces[marker]);
const markers = page.split('@QUILLMOOR_GAME@').length - 1;
if (markers !== 1) {
    console.error(`The page runtime must hold the marker @QUILLMOOR_GAME@ once; it holds it ${markers} times`);
    process.exit(1);
}
fs.writeFileSync(output, page);
