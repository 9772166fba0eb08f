// In-page sorting and filtering of the pages kelvano_web_table_pages writes, in headless chromium
// driven by puppeteer-core (see web_table_bench.sh). Each figure is the median of five runs, from the
// click (or the keystroke) to the next paint: the time until a task queued from the next animation
// frame runs, which is after that frame has been painted.
import puppeteer from 'puppeteer-core';
import path from 'node:path';

const folder = process.argv[2];
const browser = await puppeteer.launch({
    executablePath: process.env.CHROMIUM || '/usr/bin/chromium',
    headless: true,
    args: ['--no-sandbox', '--disable-gpu', '--lang=ja'],
});
const median = (values) => values.slice().sort((a, b) => a - b)[Math.floor(values.length / 2)];

async function measure(name) {
    const page = await browser.newPage();
    await page.setViewport({width: 1280, height: 800});
    await page.goto('file://' + path.resolve(folder, name + '.html'), {waitUntil: 'load'});
    const sort = [];
    for (let run = 0; run < 5; ++run) {
        // Alternately the price column (numbers) and the name column (Japanese text).
        sort.push(await page.evaluate((column) => new Promise((done) => {
            const button = document.querySelector('thead').rows[0].cells[column].querySelector('button');
            const start = performance.now();
            button.click();
            requestAnimationFrame(() => setTimeout(() => done(performance.now() - start)));
        }), run % 2 ? 1 : 2));
    }
    const filter = [];
    const keys = ['ボ', 'ボル', 'ボルト', 'ボルト ', ''];
    for (const value of keys) {
        filter.push(await page.evaluate((text) => new Promise((done) => {
            const box = document.querySelector('input[type=search]');
            const start = performance.now();
            box.value = text;
            box.dispatchEvent(new Event('input'));
            requestAnimationFrame(() => setTimeout(() => done(performance.now() - start)));
        }), value));
    }
    await page.close();
    console.log(`${name.padEnd(20)} sort ${median(sort).toFixed(0).padStart(5)} ms (${sort.map((t) => t.toFixed(0)).join(' ')})` +
                `  filter ${median(filter).toFixed(0).padStart(4)} ms per keystroke (${filter.map((t) => t.toFixed(0)).join(' ')})`);
}

for (const rows of [2000, 10000]) {
    for (const markup of ['classic', 'html5-inline', 'html5-styled']) {
        await measure(`${markup}-${rows}`);
    }
}
await browser.close();
