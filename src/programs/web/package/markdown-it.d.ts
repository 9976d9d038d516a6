import type { Theme } from './index.js';

export interface QuillmarkPluginOptions {
  /** The fence languages converted (default: vba, vb, bas). */
  languages?: string[];
  links?: boolean;
  inlineStyles?: boolean;
  theme?: Theme;
}

// The markdown-it instance's type is left to markdown-it's own types.
export default function quillmark(md: { renderer: { rules: Record<string, unknown> } }, options?: QuillmarkPluginOptions): void;
