-- SPDX-License-Identifier: MIT
-- Turns the guide's Markdown into its web pages. A link to another page's
-- Markdown leads to that page's HTML. A code block with an "include"
-- attribute shows a text the guide's build wrote (what a program printed, a
-- shipped file), from the folder GUIDE_TEXT, and so does code that names one
-- of the English messages. A picture that is not in the guide's folder
-- GUIDE_OUT stops the build, so no page names a picture that is missing.
local texts = os.getenv("GUIDE_TEXT")
local guide = os.getenv("GUIDE_OUT")

function Link(link)
  link.target = (link.target:gsub("^([%w%-]+)%.md(#?.*)$", "%1.html%2"))
  return link
end

function Image(image)
  if not image.src:match("^%a+:") then
    local file = io.open(guide .. "/" .. image.src, "rb")
    if not file then
      error("the picture " .. image.src .. " is missing")
    end
    file:close()
  end
end

-- The English messages, as the shipped Language.txt holds them.
local messages = nil
local function message(number)
  if not messages then
    messages = {}
    local file = io.open(texts .. "/Language.txt", "r")
    if not file then
      error("the text Language.txt was not written")
    end
    local english = nil
    for line in file:lines() do
      if english then
        table.insert(messages, line)
        if #messages == 27 then
          break
        end
      elseif line == "[English]" then
        english = true
      end
    end
    file:close()
  end
  return messages[number] or error("Language.txt has no English message " .. number)
end

-- "message 12" in code stands for that English message. A "|" in code in a
-- table cell is written "\|"; older pandoc keeps the backslash there.
function Code(code)
  local number = code.text:match("^message (%d+)$")
  if number then
    code.text = message(tonumber(number))
  else
    code.text = (code.text:gsub("\\|", "|"))
  end
  return code
end

function CodeBlock(block)
  local name = block.attributes["include"]
  if not name then
    return nil
  end
  local file = io.open(texts .. "/" .. name, "r")
  if not file then
    error("the text " .. name .. " was not written")
  end
  block.text = (file:read("a"):gsub("\n+$", ""))
  file:close()
  block.attributes["include"] = nil
  return block
end
