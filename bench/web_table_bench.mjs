// In-page sorting and filtering of the pages kelvano_web_table_pages writes, in headless chromium
// driven by puppeteer-core (see web_table_bench.sh). Each figure is the median of five runs, from the
// click (or the keystroke) to the next paint: the time until a task queued from the next animation
// frame runs, which is after that frame has been painted. The script draws the rows below the view in
// the frames that follow; "all drawn" is the time until the paint after the last of them.
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
    // From the click or keystroke to the next paint, and to the paint after every row is drawn.
    const timed = (act, arg) => page.evaluate((act, arg) => new Promise((done) => {
        const start = performance.now();
        let first = 0;
        if (act === 'sort') {
            document.querySelector('thead').rows[0].cells[arg].querySelector('button').click();
        } else {
            const box = document.querySelector('input[type=search]');
            box.value = arg;
            box.dispatchEvent(new Event('input'));
        }
        // The rows the script draws in a frame are painted in the frame after it.
        let drawing = true;
        const frame = () => requestAnimationFrame(() => setTimeout(() => {
            first = first || performance.now() - start;
            if (drawing) {
                drawing = document.querySelector('tbody > tr[style*="display"]') !== null;
                frame();
            } else {
                done([first, performance.now() - start]);
            }
        }));
        frame();
    }), act, arg);
    const sort = [];
    for (let run = 0; run < 5; ++run) {
        // Alternately the price column (numbers) and the name column (Japanese text).
        sort.push(await timed('sort', run % 2 ? 1 : 2));
    }
    const filter = [];
    for (const value of ['ボ', 'ボル', 'ボルト', 'ボルト ', '']) {
        filter.push(await timed('filter', value));
    }
    // Sorting with the view half way down the table draws every row down to the view at once.
    await page.evaluate(() => window.scrollTo(0, document.body.scrollHeight / 2));
    const middle = [];
    for (let run = 0; run < 3; ++run) {
        middle.push(await timed('sort', run % 2 ? 1 : 2));
    }
    await page.close();
    const figures = (runs) => `${median(runs.map((r) => r[0])).toFixed(0).padStart(5)} ms (` +
        runs.map((r) => r[0].toFixed(0)).join(' ') + `), all drawn ${median(runs.map((r) => r[1])).toFixed(0)} ms`;
    const worst = Math.max(...filter.map((r) => r[0]));
    console.log(`${name.padEnd(20)} sort ${figures(sort)}  filter ${figures(filter)}, slowest keystroke ` +
                `${worst.toFixed(0)} ms;  sort half way down ${figures(middle)}`);
}

for (const rows of [2000, 10000]) {
    for (const markup of ['classic', 'html5-inline', 'html5-styled']) {
        await measure(`${markup}-${rows}`);
    }
}
await browser.close();
