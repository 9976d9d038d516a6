// The package's types as its README uses it; each line marked @ts-expect-error must stay an
// error, so the types are checked in both directions.
import MarkdownIt from 'markdown-it';
import { convert, css, list, openDocument, QuillmarkError, type Entry, type Theme } from 'quillmark';
import quillmark from 'quillmark/markdown-it';

const bytes: Uint8Array = new Uint8Array(0);
const html: string = convert('Sub A()\nEnd Sub\n', { links: true, entry: 'A', inlineStyles: true, theme: 'editor' });
convert(bytes, { page: true, lineNumbers: true, title: 'A', module: 'Main', encoding: 'CP932' });
convert(new ArrayBuffer(8));
const entries: Entry[] = list(bytes, { encoding: 'CP932' });
const first: number = entries[0].first;
const book = openDocument(bytes, { name: 'Book1.xlsm' });
const fragment: string = book.modules[0].html({ links: true, theme: 'dark' });
const sheets: string[] = (['light', 'dark', 'editor'] as Theme[]).map((theme) => css(theme, { page: true }));
try {
  convert('');
} catch (error) {
  if (error instanceof QuillmarkError) {
    const status: number = error.status;
  }
}
const md = new MarkdownIt().use(quillmark, { links: false, theme: 'light', languages: ['vba'] });
quillmark(new MarkdownIt(), { inlineStyles: true, theme: 'dark' });
const rendered: string = md.render('```vba\nSub A()\nEnd Sub\n```\n');

// @ts-expect-error: no such theme
convert('', { theme: 'blue' });
// @ts-expect-error: a document is bytes, not text
openDocument('Book1.xlsm');
// @ts-expect-error: a document's module takes no module of its own
book.modules[0].html({ module: 'Other' });
// @ts-expect-error: no such theme for the plugin
quillmark(new MarkdownIt(), { theme: 'sepia' });

export { html, first, fragment, sheets, rendered };
