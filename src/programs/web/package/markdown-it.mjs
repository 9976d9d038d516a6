// A markdown-it plugin: fences of VBA (```vba, ```vb, ```bas) become Quillmark's fragment.
import { convert } from './index.mjs';

export default function quillmark(md, options = {}) {
  const languages = (options.languages ?? ['vba', 'vb', 'bas']).map((language) => language.toLowerCase());
  const fence = md.renderer.rules.fence;
  md.renderer.rules.fence = (tokens, index, markdownOptions, env, renderer) => {
    const language = tokens[index].info.trim().split(/\s+/)[0].toLowerCase();
    if (!languages.includes(language)) return fence(tokens, index, markdownOptions, env, renderer);
    try {
      return convert(tokens[index].content, {
        links: options.links,
        inlineStyles: options.inlineStyles,
        theme: options.theme,
      });
    } catch (error) {
      // Code that Quillmark cannot convert (an unterminated string) is shown as plain code.
      if (error.name !== 'QuillmarkError') throw error;
      return fence(tokens, index, markdownOptions, env, renderer);
    }
  };
}
